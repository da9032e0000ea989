// oradel-convert: the conversions of the Oradel window from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.hpp"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = oradel::RunCommandLine(arguments, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
