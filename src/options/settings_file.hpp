// The settings file: the state of every check box and edit field of the
// window, kept between runs in one section of a Windows private-profile (INI)
// text file and read and written with the same rules as the platform's
// private-profile functions.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "engine/options.hpp"

namespace oradel {

// The one section that holds the settings.
inline constexpr std::string_view kSettingsSection = "save_parametr_all";
// The key under which the window keeps the folder of the file it last opened,
// as UTF-8 text (a folder's name may hold any character); no control has this name.
inline constexpr std::string_view kLastFolderKey = "lastFolder";
// The longest value that reading returns; longer values are cut.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// The integer of a profile value: "0x" or "0X" followed by hexadecimal digits,
// or a decimal integer with an optional sign. nullopt for any other text
// (blanks included) and for a number that does not fit.
std::optional<long long> ParseProfileInteger(std::string_view text);

// The options that `file` holds, key by key under the controls' names. A
// missing or unreadable file, section or key, and a check-box value that is
// not an integer, give the first-start value. Never fails.
Options LoadSettings(const std::filesystem::path& file);

// The folder that `file` keeps under kLastFolderKey; empty when it keeps none
// or cannot be read.
std::filesystem::path LoadLastFolder(const std::filesystem::path& file);

// Writes every control ("1"/"0" for a check box, the text of an edit field)
// and, when not empty, `lastFolder` into `file`: values of existing keys are replaced where they
// stand, missing keys are appended to the section (the section to the file), and every other line
// is kept byte for byte. The whole file is replaced in one step, so a failure leaves it as it was;
// it throws UserError with the reason.
void SaveSettings(const std::filesystem::path& file, const Options& options,
                  const std::filesystem::path& lastFolder = {});

}  // namespace oradel
