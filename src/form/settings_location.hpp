// Where the settings file lies, the same rule for every view.
#pragma once

#include <filesystem>

namespace oradel {

// A file of this name beside the program marks an installed copy.
inline constexpr char kInstalledMarker[] = "oradel.installed";

// Beside the program, its file name with the extension replaced by ".ini",
// when the program's folder takes a new file (found by creating one) and holds
// no "oradel.installed"; otherwise "oradel.ini" in `userConfigFolder` (Qt's
// AppConfigLocation, %LOCALAPPDATA%\oradel on Windows), which is then created.
std::filesystem::path SettingsFileLocation(const std::filesystem::path& programFile,
                                           const std::filesystem::path& userConfigFolder);

}  // namespace oradel
