// oradel.exe: the window of the Oradel conversions on Windows.
#include <filesystem>
#include <string>

#include "form/settings_location.hpp"
#include "oradel/build_info.hpp"
#include "win/command_line.hpp"
#include "win/desktop.hpp"
#include "win/main_window.hpp"
#include "win/message_loop.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace oradel;
    win::SystemDesktop desktop;
    const std::filesystem::path program = win::ProgramPath();
    FormSetup setup{SettingsFileLocation(program, win::LocalSettingsFolder()),
                    program.parent_path(), std::string(kHomePage)};
    win::MainWindow window(desktop, std::move(setup));
    window.Create();
    if (const auto file = win::FileFromCommandLine(GetCommandLineW())) window.OpenGivenFile(*file);
    window.Show(showCommand);
    return win::RunMessageLoop(window);
}
