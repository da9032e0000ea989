// The command line of oradel-convert:
//   oradel-convert [--mode N]... [--settings FILE] [--set NAME=VALUE]... FILE...
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/errors.hpp"
#include "engine/options.hpp"

namespace oradel {

// A command line that cannot be carried out; its message goes to stderr.
class UsageError : public UserError {
  public:
    using UserError::UserError;
};

struct CommandLine {
    bool showHelp = false;
    bool showVersion = false;
    bool replaceLists = false;  // an import may replace an existing point list
    bool check = false;         // check the point lists instead of converting them
    std::vector<int> modes;     // as given; empty means "by extension"
    std::filesystem::path settingsFile;
    std::vector<std::pair<std::string, std::string>> overrides;  // --set NAME=VALUE
    std::vector<std::filesystem::path> files;
};

// Throws UsageError for an unknown option, a missing value or a bad mode number.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The options: first-start state, then the settings file, then each override.
// Throws UsageError for an unknown control name, a check-box value other than
// 0 or 1, and a settings file that is missing, a folder or not a text file.
Options ResolveOptions(const CommandLine& commandLine);

// The modes to run on `file`, in the fixed order. Throws UsageError for an
// extension that no mode reads.
std::vector<const ConversionMode*> ModesForFile(const CommandLine& commandLine,
                                                const std::filesystem::path& file);

// Runs every job; messages go to `errors` as UTF-8 text, diagnostic lines to
// `output` in standard output's encoding (Windows1251TextForStandardOutput), both
// with control characters made visible. Returns the exit status, decided by
// the jobs' outcomes: 0 all well, 1 a missing file or a failure, 2 a usage error.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errors, Language language);

std::string UsageText(Language language);

// The language that a value of ORADEL_LANG names ("ru" or "en"); nullopt
// for any other value and for null (not set).
std::optional<Language> LanguageNamed(const char* value);
// The language of the person at a POSIX command line: ORADEL_LANG when it
// names one; else Russian when the locale of messages (LC_ALL, LC_MESSAGES or
// LANG, the first one set and not empty) is Russian; else English.
// `variable` reads the environment (null for a variable that is not set).
Language LanguageFromEnvironment(const char* (*variable)(const char* name));

// UTF-8 text as it may reach a terminal: C0 controls except tab, DEL and bytes
// that are not UTF-8 become `\xNN`; C1 controls and the bidirectional
// overrides and isolates (U+202A to U+202E, U+2066 to U+2069) become `\uNNNN`.
std::string VisibleText(std::string_view text);
// The same for Windows-1251 text. Its one byte that reads as a C1 control is
// 0x98, which Windows-1251 leaves unassigned (U+0098).
std::string VisibleWindows1251Text(std::string_view windows1251);

}  // namespace oradel
