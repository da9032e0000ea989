// The file that Explorer's "Open with" or a shortcut hands to the program.
#pragma once

#include <filesystem>
#include <optional>

namespace oradel::win {

// The first argument after the program's name in a Windows command line; nullopt without one.
std::optional<std::filesystem::path> FileFromCommandLine(const wchar_t* commandLine);

}  // namespace oradel::win
