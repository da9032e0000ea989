// oradel-convert: the conversions of the Oradel window from the command line.
#include <string>
#include <vector>

#include "cli/command_line.hpp"
#include "cli/console.hpp"

namespace {

int Run(const std::vector<std::string>& arguments) {
    oradel::RemoveTemporaryFilesOnInterrupt();
    oradel::Console console;
    return oradel::RunCommandLine(arguments, console.Output(), console.Errors(),
                                  oradel::UserLanguage());
}

}  // namespace

#ifdef _WIN32
// Wide arguments, so that any file name arrives whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
    return Run(oradel::Utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    return Run(oradel::Utf8Arguments(argc, argv));
}
#endif
