#include "cli/command_line.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "cli/console.hpp"
#include "engine/conversion_job.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/list_checker.hpp"
#include "options/option_controls.hpp"
#include "options/settings_file.hpp"
#include "oradel/build_info.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

int ParseModeNumber(const std::string& text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() ||
        FindConversionMode(number) == nullptr) {
        throw UsageError(Message(MessageId::UsageUnknownMode, {text, ModeNumberList()}));
    }
    return number;
}

// The options that take a value, as "--mode N" or "--mode=N".
constexpr std::string_view kValueOptions[] = {"--mode", "--settings", "--set"};

// Splits "--name=value" of an option that takes a value into its two parts.
bool SplitAttachedValue(const std::string& argument, std::string& name, std::string& value) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos) return false;
    name = argument.substr(0, equals);
    if (std::ranges::find(kValueOptions, name) == std::end(kValueOptions)) return false;
    value = argument.substr(equals + 1);
    return true;
}

// The value of the option at `index`: attached to it, or the next argument.
std::string ValueOf(const std::vector<std::string>& arguments, std::size_t& index,
                    std::string& name) {
    std::string value;
    if (SplitAttachedValue(arguments[index], name, value)) return value;
    name = arguments[index];
    if (index + 1 >= arguments.size())
        throw UsageError(Message(MessageId::UsageNeedsValue, {name}));
    return arguments[++index];
}

// A check box takes exactly "0" or "1" here: anything else is more likely a
// slip ("false", "off") than a wish for the box's default.
void ApplyOverride(Options& options, const std::string& name, const std::string& value) {
    const OptionControl* control = FindOptionControl(name);
    if (control == nullptr) throw UsageError(Message(MessageId::UsageUnknownControl, {name}));
    if (!control->IsCheckBox()) {
        control->SetText(options, Windows1251FromUtf8(value));
        return;
    }
    if (value != "0" && value != "1") {
        throw UsageError(Message(MessageId::UsageCheckBoxValue, {name, value}));
    }
    control->SetTicked(options, value == "1");
}

// A settings file that does not exist, is a folder or holds NUL bytes (so is
// no text file at all) is refused rather than read as "every option at its default".
void CheckSettingsFile(const fs::path& file) {
    std::error_code error;
    if (fs::is_directory(file, error)) {
        throw UsageError(Message(MessageId::UsageSettingsIsFolder, {PathText(file)}));
    }
    if (!fs::exists(file, error)) {
        throw UsageError(Message(MessageId::UsageSettingsNotFound, {PathText(file)}));
    }
    const FileHandle input = OpenInputFile(file);
    const Message notSettings(MessageId::UsageNotASettingsFile, {PathText(file)});
    if (!input) throw UsageError(notSettings);
    char block[64 * 1024];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, input.get())) > 0) {
        if (std::memchr(block, '\0', count) != nullptr) throw UsageError(notSettings);
    }
}

// Windows-1251 assigns no character to 0x98; the codec reads it as U+0098.
constexpr unsigned char kUnassignedWindows1251Byte = 0x98;

bool IsControlCharacter(char32_t c) {
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

// C1 controls and the bidirectional overrides and isolates.
bool IsHiddenCharacter(char32_t c) {
    return (c >= 0x80 && c < 0xA0) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void AppendEscape(std::string& out, std::string_view prefix, unsigned value, int digits) {
    out += prefix;
    AppendHex(out, value, digits);
}

class StreamMessages final : public MessageSink {
  public:
    StreamMessages(std::ostream& stream, Language language)
        : stream_(stream), language_(language) {}
    void ShowMessage(const Message& message) override {
        stream_ << VisibleText(message.Text(language_)) << '\n';
    }

  private:
    std::ostream& stream_;
    Language language_;
};

// Each point once, however many exports of the input met it.
void PrintLeftOutPoints(LeftOutPointList& leftOut, const JobOutcome& outcome,
                        std::ostream& output) {
    for (const LeftOutPoint& point : leftOut.Add(outcome.leftOut)) {
        output << "error coordenades:  "
               << Windows1251TextForStandardOutput(VisibleWindows1251Text(point.name)) << "\r\n";
    }
}

// Runs the jobs of every file and returns the exit status: 1 when an input
// was missing or a job failed (a failure skips the remaining jobs), else 0.
// Runs the jobs of one input; false when one failed (the rest are then skipped).
bool RunJobsOf(const std::filesystem::path& file, const std::vector<const ConversionMode*>& plan,
               const CommandLine& commandLine, const Options& options, std::ostream& output,
               StreamMessages& messages, std::size_t& done) {
    const ExistingList existing =
        commandLine.replaceLists ? ExistingList::Replace : ExistingList::Keep;
    LeftOutPointList leftOut;  // each point once, however many exports met it
    for (const ConversionMode* mode : plan) {
        try {
            PrintLeftOutPoints(leftOut, RunConversion(*mode, file, options, messages, existing),
                               output);
            ++done;
        } catch (const UserError& failure) {
            messages.ShowMessage(failure.UserMessage());
            return false;
        }
    }
    return true;
}

// Runs the jobs of every file and returns the exit status: 1 when an input
// could not be read (its jobs are skipped, the next input's run) or a job
// failed (the remaining jobs are skipped), else 0. A run with a failure ends
// by saying how many jobs were not done.
int RunJobs(const CommandLine& commandLine, const Options& options,
            const std::vector<std::vector<const ConversionMode*>>& plans, std::ostream& output,
            StreamMessages& messages) {
    std::size_t planned = 0, done = 0;
    for (const auto& plan : plans) planned += plan.size();
    for (std::size_t i = 0; i < commandLine.files.size(); ++i) {
        try {
            CheckInputFile(commandLine.files[i]);  // said once, not once per job
        } catch (const UserError& failure) {
            messages.ShowMessage(failure.UserMessage());
            continue;
        }
        if (!RunJobsOf(commandLine.files[i], plans[i], commandLine, options, output, messages,
                       done)) {
            break;
        }
    }
    if (done == planned) return 0;
    messages.ShowMessage(Message(MessageId::JobsNotDone, {planned - done, planned}));
    return 1;
}

// The words by which editors and build tools tell a diagnostic's weight,
// English whatever the language of the text after them.
std::string SeverityWord(Severity severity) {
    return Message(SeverityName(severity)).Text(Language::English);
}

// Prints "FILE:LINE: error|warning|note: text" for every problem of every
// list, then the counts; writes nothing. Returns 1 when a list has an error
// or cannot be checked, else 0.
int CheckLists(const CommandLine& commandLine, std::ostream& output, StreamMessages& messages,
               Language language) {
    DiagnosticCounts total;
    bool unreadable = false;
    for (const fs::path& file : commandLine.files) {
        try {
            const std::vector<Diagnostic> diagnostics = CheckPointListFile(file);
            for (const Diagnostic& diagnostic : diagnostics) {
                output << VisibleText(PathText(file)) << ':' << diagnostic.line << ": "
                       << SeverityWord(diagnostic.severity) << ": "
                       << VisibleText(diagnostic.text.Text(language)) << '\n';
            }
            const DiagnosticCounts counts = CountDiagnostics(diagnostics);
            total.errors += counts.errors;
            total.warnings += counts.warnings;
            total.notes += counts.notes;
        } catch (const UserError& failure) {
            messages.ShowMessage(failure.UserMessage());
            unreadable = true;
        }
    }
    output << Message(MessageId::CheckSummary, {total.errors, total.warnings, total.notes})
                  .Text(language)
           << '\n';
    return unreadable || total.errors > 0 ? 1 : 0;
}

// An option that takes a value: "--mode 2" or "--mode=2".
void ParseValueOption(const std::vector<std::string>& arguments, std::size_t& index,
                      CommandLine& result) {
    std::string name;
    if (std::string attached; !SplitAttachedValue(arguments[index], name, attached)) {
        name = arguments[index];
        if (std::ranges::find(kValueOptions, name) == std::end(kValueOptions)) {
            throw UsageError(Message(MessageId::UsageUnknownOption, {arguments[index]}));
        }
    }
    const std::string value = ValueOf(arguments, index, name);
    if (name == "--mode") {
        result.modes.push_back(ParseModeNumber(value));
    } else if (name == "--settings") {
        result.settingsFile = PathFromText(value);
    } else {
        const std::size_t equals = value.find('=');
        if (equals == std::string::npos) {
            throw UsageError(Message(MessageId::UsageSetNeedsAssignment));
        }
        result.overrides.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    }
}

// The kinds of input that the modes read, in the order of their first mode.
std::vector<InputKind> InputKindsInJobOrder() {
    std::vector<InputKind> kinds;
    for (const ConversionMode& mode : ConversionModes()) {
        if (std::ranges::find(kinds, mode.input) == kinds.end()) kinds.push_back(mode.input);
    }
    return kinds;
}

// The extensions that choose modes, as ".wpt, .gpx, .txt".
std::string InputExtensionList() {
    std::string list;
    for (const InputKind kind : InputKindsInJobOrder()) {
        if (!list.empty()) list += ", ";
        list += ExtensionOf(kind);
    }
    return list;
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
        } else if (argument == "--replace-lists") {
            result.replaceLists = true;
        } else if (argument == "--check") {
            result.check = true;
        } else {
            ParseValueOption(arguments, i, result);
        }
    }
    if (!result.showHelp && !result.showVersion && result.files.empty()) {
        throw UsageError(Message(MessageId::UsageNoInput));
    }
    return result;
}

Options ResolveOptions(const CommandLine& commandLine) {
    Options options;
    if (!commandLine.settingsFile.empty()) {
        CheckSettingsFile(commandLine.settingsFile);
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
            throw UsageError(
                Message(MessageId::UsageUnknownExtension, {PathText(file), InputExtensionList()}));
        }
        for (const ConversionMode& mode : ConversionModes()) {
            if (mode.input == *kind && mode.runsByDefault) modes.push_back(&mode);
        }
        return modes;
    }
    for (const ConversionMode& mode : ConversionModes()) {
        if (std::find(commandLine.modes.begin(), commandLine.modes.end(), mode.number) !=
            commandLine.modes.end()) {
            modes.push_back(&mode);
        }
    }
    return modes;
}

namespace {

int RunGivenCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                        std::ostream& errors, Language language) {
    CommandLine commandLine;
    Options options;
    std::vector<std::vector<const ConversionMode*>> plans;
    try {
        commandLine = ParseCommandLine(arguments);
        if (commandLine.showHelp) {
            output << UsageText(language);
            return 0;
        }
        if (commandLine.showVersion) {
            output << "oradel-convert " << kVersion << '\n';
            return 0;
        }
        options = ResolveOptions(commandLine);
        if (commandLine.check) {
            StreamMessages messages(errors, language);
            return CheckLists(commandLine, output, messages, language);
        }
        for (const fs::path& file : commandLine.files) {
            plans.push_back(ModesForFile(commandLine, file));
        }
    } catch (const UsageError& error) {
        errors << "oradel-convert: " << VisibleText(error.UserMessage().Text(language)) << "\n"
               << Message(MessageId::UsageTryHelp).Text(language) << "\n";
        return 2;
    } catch (const UserError& error) {  // a settings file that cannot be read
        errors << "oradel-convert: " << VisibleText(error.UserMessage().Text(language)) << "\n";
        return 2;
    }
    StreamMessages messages(errors, language);
    return RunJobs(commandLine, options, plans, output, messages);
}

}  // namespace

// A failure that no job reports (memory, a fault of the program) ends the run
// with its message and status 1, never with an uncaught exception.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& output,
                   std::ostream& errors, Language language) {
    try {
        return RunGivenCommandLine(arguments, output, errors, language);
    } catch (const std::exception& failure) {
        errors << "oradel-convert: " << VisibleText(FailureText(failure, language)) << "\n";
        return 1;
    }
}

std::string VisibleText(std::string_view text) {
    std::string visible;
    visible.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t character = 0;
        const std::size_t length = DecodeUtf8(text, pos, character);
        if (length == 0) {  // a byte that is not UTF-8
            AppendEscape(visible, "\\x", static_cast<unsigned char>(text[pos]), 2);
            ++pos;
            continue;
        }
        if (IsControlCharacter(character)) {
            AppendEscape(visible, "\\x", character, 2);
        } else if (IsHiddenCharacter(character)) {
            AppendEscape(visible, "\\u", character, 4);
        } else {
            visible += text.substr(pos, length);
        }
        pos += length;
    }
    return visible;
}

std::string VisibleWindows1251Text(std::string_view windows1251) {
    std::string visible;
    visible.reserve(windows1251.size());
    for (const char c : windows1251) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControlCharacter(byte) || byte == kUnassignedWindows1251Byte) {
            AppendEscape(visible, "\\x", byte, 2);
        } else {
            visible += c;
        }
    }
    return visible;
}

std::optional<Language> LanguageNamed(const char* value) {
    if (value == nullptr) return std::nullopt;
    const std::string_view name = value;
    if (name == "ru") return Language::Russian;
    if (name == "en") return Language::English;
    return std::nullopt;
}

Language LanguageFromEnvironment(const char* (*variable)(const char* name)) {
    if (const std::optional<Language> chosen = LanguageNamed(variable("ORADEL_LANG"))) {
        return *chosen;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = variable(name);
        if (locale == nullptr || *locale == '\0') continue;
        return std::string_view(locale).starts_with("ru") ? Language::Russian : Language::English;
    }
    return Language::English;
}

std::string UsageText(Language language) {
    std::string modeLines;
    for (const ConversionMode& mode : ConversionModes()) {
        std::string number = std::to_string(mode.number);
        number.resize(2, ' ');
        modeLines +=
            Message(MessageId::UsageModeLine, {number, Message(mode.usageLine)}).Text(language);
    }
    std::string byExtension;
    for (const InputKind kind : InputKindsInJobOrder()) {
        std::string numbers;
        for (const ConversionMode& mode : ConversionModes()) {
            if (mode.input != kind || !mode.runsByDefault) continue;
            if (!numbers.empty()) numbers += ", ";
            numbers += std::to_string(mode.number);
        }
        byExtension +=
            Message(MessageId::UsageExtensionRuns, {ExtensionOf(kind), numbers}).Text(language);
    }
    return Message(MessageId::UsageText, {ModeNumberList(), modeLines, byExtension}).Text(language);
}

}  // namespace oradel
