// Where the window keeps its settings file.
#pragma once

#include <QString>
#include <filesystem>

namespace oradel {

// Beside the program, its name with the extension replaced by ".ini", when the
// program's folder is writable (a portable copy); otherwise the same file name
// in `configFolder`, the user's configuration folder of a system-wide install.
std::filesystem::path SettingsFilePath(const QString& programFile, const QString& configFolder);

// The settings file of the running program; creates the configuration folder
// when the file is to lie there.
std::filesystem::path SettingsFileOfThisProgram();

}  // namespace oradel
