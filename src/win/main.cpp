// oradel.exe: the window of the Oradel conversions on Windows.
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "form/form.hpp"
#include "form/settings_location.hpp"
#include "oradel/build_info.hpp"
#include "text/utf16.hpp"
#include "win/command_line.hpp"
#include "win/desktop.hpp"
#include "win/main_window.hpp"
#include "win/message_loop.hpp"

namespace {

// The open dialog and the shell's "open" verb want COM on the window's thread.
class ComApartment {
  public:
    ComApartment()
        : started_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (started_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool started_;
};

int RunWindow(oradel::win::Desktop& desktop, int showCommand) {
    using namespace oradel;
    const std::filesystem::path program = win::ProgramPath();
    const std::optional<std::filesystem::path> file = win::FileFromCommandLine(GetCommandLineW());
    // "--help" and "--version" are answered in a message box instead of the window.
    if (file) {
        if (const auto answer = WindowCommandLineAnswer(PathText(*file), kWindowLanguage)) {
            desktop.ShowMessage(nullptr, Utf16FromUtf8(*answer));
            return 0;
        }
    }
    FormSetup setup{SettingsFileLocation(program, win::LocalSettingsFolder()),
                    program.parent_path(), std::string(kHomePage), win::DocumentsFolder()};
    win::MainWindow window(desktop, std::move(setup));
    window.Create();
    if (file) window.OpenGivenFile(*file);
    window.Show(showCommand);
    return win::RunMessageLoop(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    const ComApartment com;
    oradel::win::SystemDesktop desktop;
    try {
        return RunWindow(desktop, showCommand);
    } catch (const std::exception& failure) {
        desktop.ShowMessage(
            nullptr, oradel::Utf16FromUtf8(oradel::FailureText(failure, oradel::kWindowLanguage)));
        return 1;
    }
}
