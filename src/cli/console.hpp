// The process's standard streams as the user's terminal reads them. The
// program holds messages as UTF-8 text and point names as Windows-1251 text;
// what reaches the terminal is in the encoding that it reads. Only the
// platform's own file (console_posix.cpp, console_windows.cpp) knows which.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/messages.hpp"

namespace oradel {

// The command-line arguments after the program name, as UTF-8 text.
#ifdef _WIN32
std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv);
#else
std::vector<std::string> Utf8Arguments(int argc, char** argv);
#endif

// Windows-1251 text as standard output's reader expects it: UTF-8 on POSIX
// systems; on Windows in the console's code page (CP866 on a Russian system).
std::string Windows1251TextForStandardOutput(std::string_view windows1251);

// From now on, an interruption of the run by the user (SIGINT, SIGTERM and
// SIGHUP; on Windows Ctrl+C, Ctrl+Break and closing the console) first
// removes the temporary files of unfinished outputs, then ends the process
// as the interruption itself would have. A signal that the process was told
// to ignore stays ignored.
void RemoveTemporaryFilesOnInterrupt();

// The language of the person at the command line: ORADEL_LANG ("ru" or "en")
// when set; else on Windows the user's interface language, elsewhere the
// locale of messages (LanguageFromEnvironment).
Language UserLanguage();

// The two standard streams, ready for RunCommandLine.
class Console {
  public:
    Console();
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Standard output: bytes written as they are (ASCII text and lines from
    // Windows1251TextForStandardOutput).
    std::ostream& Output() { return output_; }
    // Standard error: UTF-8 text, shown in the terminal's encoding.
    std::ostream& Errors() { return errors_; }

  private:
    // Owned here where the platform writes through buffers of its own.
    std::unique_ptr<std::streambuf> outputBuffer_;
    std::unique_ptr<std::streambuf> errorBuffer_;
    std::ostream output_{nullptr};
    std::ostream errors_{nullptr};
};

}  // namespace oradel
