// The standard streams on POSIX systems, whose terminals read UTF-8, and the
// signals that interrupt a run.
#include <signal.h>

#include <cstdlib>
#include <iostream>

#include "cli/command_line.hpp"
#include "cli/console.hpp"
#include "engine/files.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace {

// Runs with the signal's disposition already back at its default
// (SA_RESETHAND) and the signal blocked: raising it again ends the process
// by that signal as soon as the handler returns.
extern "C" void RemoveTemporaryFilesAndEnd(int signalNumber) {
    RemoveTemporaryFilesNow();
    raise(signalNumber);
}

}  // namespace

Language UserLanguage() {
    return LanguageFromEnvironment(
        [](const char* name) -> const char* { return std::getenv(name); });
}

// Every signal whose default action ends the process and that a handler may
// catch: from a terminal (Ctrl+C, Ctrl+\, a closed terminal), kill and
// timeout (TERM, ALRM, USR1, USR2), a file size limit (XFSZ) and a reader that
// went away (PIPE, as in `oradel-convert ... | head`).
void RemoveTemporaryFilesOnInterrupt() {
    for (const int signalNumber :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE}) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;  // nohup and background jobs ask for it to be ignored
        }
        struct sigaction action {};
        action.sa_handler = RemoveTemporaryFilesAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signalNumber, &action, nullptr);
    }
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string Windows1251TextForStandardOutput(std::string_view windows1251) {
    return Utf8FromWindows1251(windows1251);
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
