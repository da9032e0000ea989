// oradel-convert: the conversions of the Oradel window from the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/command_line.hpp"
#include "cli/console.hpp"
#include "engine/errors.hpp"

namespace {

int Run(const std::vector<std::string>& arguments) {
    oradel::RemoveTemporaryFilesOnInterrupt();
    oradel::Console console;
    return oradel::RunCommandLine(arguments, console.Output(), console.Errors(),
                                  oradel::UserLanguage());
}

// What fails before the console is set up (the arguments, the console
// itself) is told in English on the standard error stream.
int ReportFailure(const std::exception& failure) {
    const std::string text = oradel::FailureText(failure, oradel::Language::English);
    std::fprintf(stderr, "oradel-convert: %s\n", text.c_str());
    return 1;
}

}  // namespace

#ifdef _WIN32
// Wide arguments, so that any file name arrives whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
    try {
        return Run(oradel::Utf8Arguments(argc, argv));
    } catch (const std::exception& failure) {
        return ReportFailure(failure);
    }
}
#else
int main(int argc, char** argv) {
    try {
        return Run(oradel::Utf8Arguments(argc, argv));
    } catch (const std::exception& failure) {
        return ReportFailure(failure);
    }
}
#endif
