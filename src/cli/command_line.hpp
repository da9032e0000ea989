// The command line of oradel-convert:
//   oradel-convert [--mode N]... [--settings FILE] [--set NAME=VALUE]... FILE...
#pragma once

#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/options.hpp"

namespace oradel {

// A command line that cannot be carried out; its text goes to stderr.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    bool showHelp = false;
    bool showVersion = false;
    std::vector<int> modes;  // as given; empty means "by extension"
    std::filesystem::path settingsFile;
    std::vector<std::pair<std::string, std::string>> overrides;  // --set NAME=VALUE
    std::vector<std::filesystem::path> files;
};

// Throws UsageError for an unknown option, a missing value or a bad mode number.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The options: first-start state, then the settings file, then each override.
// Throws UsageError for an unknown control name.
Options ResolveOptions(const CommandLine& commandLine);

// The modes to run on `file`, in the fixed order. Throws UsageError for an
// extension that no mode reads or a mode that this build cannot run.
std::vector<const ConversionMode*> ModesForFile(const CommandLine& commandLine,
                                                const std::filesystem::path& file);

// Runs every job; messages go to `errors` as UTF-8 text, diagnostic lines to
// `output` in standard output's encoding (AnsiTextForStandardOutput). Returns
// the exit status: 0 all well, 1 a missing file or a failure, 2 a usage error.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errors);

std::string UsageText();

}  // namespace oradel
