#include <iostream>
#include <string>
#include <vector>

#include "package/tool/pack_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runPackTool(args, std::cout, std::cerr);
}
