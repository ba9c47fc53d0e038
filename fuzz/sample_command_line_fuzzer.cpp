// The sample programs' command-line splitter over arbitrary UTF-16 lines: the argument is
// always a piece of the line and never ends in a doubled backslash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "command_line/command_line.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring line(size / 2, L'\0');
    for (size_t i = 0; i < line.size(); ++i) {
        line[i] = static_cast<wchar_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    const std::wstring_view argument = programArgument(line);
    if (!argument.empty()) {
        fuzzRequire(argument.data() >= line.data() &&
                        argument.data() + argument.size() <= line.data() + line.size(),
                    "the argument lies inside the command line");
    }
    fuzzRequire(!argument.ends_with(L"\\\\"), "the argument never ends in two backslashes");
    return 0;
}
