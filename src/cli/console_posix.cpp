// The standard streams on POSIX systems, whose terminals read UTF-8.
#include <iostream>

#include "cli/console.hpp"
#include "text/codepage.hpp"

namespace oradel {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string AnsiTextForStandardOutput(std::string_view ansi) {
    return Utf8FromCp1251(ansi);
}

Console::Console() {
    std::ios::sync_with_stdio(false);
    output_.rdbuf(std::cout.rdbuf());
    errors_.rdbuf(std::cerr.rdbuf());
    errors_.setf(std::ios::unitbuf);
}

Console::~Console() {
    output_.flush();
    errors_.flush();
}

}  // namespace oradel
