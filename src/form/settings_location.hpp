// Where the settings file lies, the same rule for every view.
#pragma once

#include <filesystem>

namespace oradel {

// A file of this name marks an installed copy: beside the program (the
// Windows installer puts it there) or in ../share/oradel/ from the program's
// folder (a Linux install, the Debian package's and `cmake --install`'s, puts
// it there, so that /usr/bin holds programs only).
inline constexpr char kInstalledMarker[] = "oradel.installed";

// Beside the program, its file name with the extension replaced by ".ini",
// when the program's folder takes a new file (found by creating one) and no
// "oradel.installed" marks the copy installed; otherwise "oradel.ini" in
// `userConfigFolder` (Qt's AppConfigLocation, %LOCALAPPDATA%\oradel on
// Windows), which is then created.
std::filesystem::path SettingsFileLocation(const std::filesystem::path& programFile,
                                           const std::filesystem::path& userConfigFolder);

}  // namespace oradel
