#include "package/tool/messages.h"

std::string fileMessage(std::string_view file, std::string_view problem) {
    std::string text{file};
    text += ": ";
    text += problem;
    return text;
}

void Messages::error(std::string_view text) {
    stream_ << ProgramName << ": " << text << '\n';
}

void Messages::warning(std::string_view text) {
    stream_ << ProgramName << ": warning: " << text << '\n';
}

void Messages::usage(std::string_view text) {
    error(text);
    stream_ << ProgramName << ": Try '" << ProgramName << " --help' for more information.\n";
}

void Messages::progress(std::string_view text) {
    stream_ << text << '\n';
    stream_.flush();
}
