#include "cli/command_line.hpp"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "cli/console.hpp"
#include "engine/conversion_job.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "oradel/build_info.hpp"
#include "options/option_controls.hpp"
#include "options/settings_file.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

int ParseModeNumber(const std::string& text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() ||
        FindConversionMode(number) == nullptr) {
        throw UsageError("unknown mode '" + text + "' (use 1, 15, 2, 3, 4 or 5)");
    }
    return number;
}

const std::string& ValueOf(const std::vector<std::string>& arguments, std::size_t& index) {
    if (index + 1 >= arguments.size()) throw UsageError(arguments[index] + " needs a value");
    return arguments[++index];
}

void ApplyOverride(Options& options, const std::string& name, const std::string& value) {
    const OptionControl* control = FindOptionControl(name);
    if (control == nullptr) throw UsageError("unknown option control '" + name + "'");
    if (!control->IsCheckBox()) {
        control->SetText(options, Cp1251FromUtf8(value));
        return;
    }
    const std::optional<long long> number = ParseProfileInteger(value);
    control->SetTicked(options, number ? *number != 0 : control->Ticked(Options()));
}

class StreamMessages final : public MessageSink {
  public:
    explicit StreamMessages(std::ostream& stream) : stream_(stream) {}
    void ShowMessage(const std::string& text) override {
        stream_ << text << '\n';
        ++count_;
    }
    int Count() const { return count_; }

  private:
    std::ostream& stream_;
    int count_ = 0;
};

// Runs the jobs of every file; false after a failure, which skips the rest.
bool RunJobs(const CommandLine& commandLine, const Options& options,
             const std::vector<std::vector<const ConversionMode*>>& plans, std::ostream& output,
             StreamMessages& messages) {
    for (std::size_t i = 0; i < commandLine.files.size(); ++i) {
        for (const ConversionMode* mode : plans[i]) {
            try {
                const JobOutcome outcome =
                    RunConversion(*mode, commandLine.files[i], options, messages);
                for (const std::string& name : outcome.leftOutPoints) {
                    output << "error coordenades:  " << AnsiTextForStandardOutput(name) << "\r\n";
                }
            } catch (const std::exception& failure) {
                messages.ShowMessage(failure.what());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
            result.files.push_back(PathFromText(argument));
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--help" || argument == "-h") {
            result.showHelp = true;
        } else if (argument == "--version") {
            result.showVersion = true;
        } else if (argument == "--mode") {
            result.modes.push_back(ParseModeNumber(ValueOf(arguments, i)));
        } else if (argument == "--settings") {
            result.settingsFile = PathFromText(ValueOf(arguments, i));
        } else if (argument == "--set") {
            const std::string& assignment = ValueOf(arguments, i);
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos) throw UsageError("--set needs NAME=VALUE");
            result.overrides.emplace_back(assignment.substr(0, equals),
                                          assignment.substr(equals + 1));
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    if (!result.showHelp && !result.showVersion && result.files.empty()) {
        throw UsageError("no input file given");
    }
    return result;
}

Options ResolveOptions(const CommandLine& commandLine) {
    Options options;
    if (!commandLine.settingsFile.empty()) {
        std::error_code error;
        if (!fs::is_regular_file(commandLine.settingsFile, error)) {
            throw UsageError("settings file not found: " + PathText(commandLine.settingsFile));
        }
        options = LoadSettings(commandLine.settingsFile);
    }
    for (const auto& [name, value] : commandLine.overrides) ApplyOverride(options, name, value);
    return options;
}

std::vector<const ConversionMode*> ModesForFile(const CommandLine& commandLine,
                                                const fs::path& file) {
    std::vector<const ConversionMode*> modes;
    if (commandLine.modes.empty()) {
        const std::optional<InputKind> kind = InputKindForPath(file);
        if (!kind) {
            throw UsageError("cannot tell the conversion from the extension of " + PathText(file) +
                             " (use .wpt, .gpx or .txt, or give --mode)");
        }
        for (const ConversionMode& mode : ConversionModes()) {
            if (mode.input == *kind && mode.body != nullptr) modes.push_back(&mode);
        }
        return modes;
    }
    for (const ConversionMode& mode : ConversionModes()) {
        if (std::find(commandLine.modes.begin(), commandLine.modes.end(), mode.number) ==
            commandLine.modes.end()) {
            continue;
        }
        if (mode.body == nullptr) {
            throw UsageError("mode " + std::to_string(mode.number) +
                             " is not available in this version");
        }
        modes.push_back(&mode);
    }
    return modes;
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errors) {
    CommandLine commandLine;
    Options options;
    std::vector<std::vector<const ConversionMode*>> plans;
    try {
        commandLine = ParseCommandLine(arguments);
        if (commandLine.showHelp) {
            output << UsageText();
            return 0;
        }
        if (commandLine.showVersion) {
            output << "oradel-convert " << kVersion << '\n';
            return 0;
        }
        options = ResolveOptions(commandLine);
        for (const fs::path& file : commandLine.files) {
            plans.push_back(ModesForFile(commandLine, file));
        }
    } catch (const UsageError& error) {
        errors << "oradel-convert: " << error.what() << "\n"
               << "Try 'oradel-convert --help'.\n";
        return 2;
    }
    StreamMessages messages(errors);
    const bool finished = RunJobs(commandLine, options, plans, output, messages);
    return finished && messages.Count() == 0 ? 0 : 1;
}

std::string UsageText() {
    return "Usage: oradel-convert [--mode N]... [--settings FILE] [--set NAME=VALUE]... FILE...\n"
           "\n"
           "Converts waypoint files through the Oradel point list. Outputs are written\n"
           "beside each input.\n"
           "\n"
           "  --mode N           run conversion N (repeatable); jobs always run in the\n"
           "                     order 1, 15, 2, 3, 4, 5:\n"
           "                       1  XCTrack export (.wpt)        -> point list (.txt)\n"
           "                       15 Navitel GPX export (.gpx)    -> point list (_nav.txt)\n"
           "                       2  point list -> XCTrack waypoints (.wpt, UTF-8)\n"
           "                       3  point list -> Navitel waypoints (_nav.wpt)\n"
           "                       4  point list -> web page (.htm)\n"
           "                       5  point list -> LK8000 waypoints (_lk8.wpt)\n"
           "                     Without --mode the extension decides: .wpt runs 1,\n"
           "                     .gpx runs 15, .txt runs every export.\n"
           "  --settings FILE    read the options from a settings file of the window\n"
           "  --set NAME=VALUE   set one option by its control name (cFI, CheckBox6,\n"
           "                     Edit1, ...); check boxes take 1 or 0\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Exit status: 0 all jobs ended normally, 1 a file was missing or a job\n"
           "failed (the remaining jobs are skipped), 2 a usage error.\n";
}

}  // namespace oradel
