#include "options/settings_file.hpp"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/text_output.hpp"
#include "options/option_controls.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kNoPosition = std::string::npos;

// Section and key names are compared without regard to (Latin) case.
std::string LowerCaseAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsEnclosedInQuotes(std::string_view text) {
    return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
}

// A trimmed value as the reader returns it: one pair of matching quotes around
// the whole value is removed.
std::string_view Unquoted(std::string_view value) {
    return IsEnclosedInQuotes(value) ? value.substr(1, value.size() - 2) : value;
}

// The text to store so that reading gives `value` back. A line break cannot be
// stored (it would end the line and start a new key) and becomes a space; a
// value that reading would trim or unquote is put in one more pair of quotes.
std::string StoredValue(std::string_view value) {
    std::string stored(value);
    for (char& c : stored) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const bool changedByReading =
        !stored.empty() &&
        (IsBlank(stored.front()) || IsBlank(stored.back()) || IsEnclosedInQuotes(stored));
    return changedByReading ? '"' + stored + '"' : stored;
}

// One line of the file, with its own line end ("\r\n", "\n", or none for a
// last line without one).
struct ProfileLine {
    std::string text;
    std::string ending;
};

enum class LineKind { Blank, Comment, SectionHeader, Entry };

// What a line says. Offsets are into the line's text.
struct LineMeaning {
    LineKind kind = LineKind::Blank;
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // entry value, trimmed, quotes kept
    std::size_t nameEnd = 0;
    std::size_t valueOffset = kNoPosition;  // kNoPosition: an entry without "="
};

// Reads one line: "[name]" heads a section, ";" starts a comment, anything
// else is an entry "key=value" (a line without "=" is a key without a value).
LineMeaning MeaningOf(std::string_view text, bool firstLine) {
    LineMeaning meaning;
    std::string_view content = text;
    if (firstLine && content.starts_with(kUtf8Mark)) content.remove_prefix(kUtf8Mark.size());
    content = TrimView(content);
    if (content.empty()) return meaning;
    if (content.front() == ';') {
        meaning.kind = LineKind::Comment;
        return meaning;
    }
    const std::size_t close = content.rfind(']');
    if (content.front() == '[' && close != std::string_view::npos) {
        meaning.kind = LineKind::SectionHeader;
        meaning.name = TrimView(content.substr(1, close - 1));
        return meaning;
    }
    meaning.kind = LineKind::Entry;
    const std::size_t equals = content.find('=');
    meaning.name = TrimView(content.substr(0, equals));
    meaning.nameEnd =
        static_cast<std::size_t>(meaning.name.data() - text.data()) + meaning.name.size();
    if (equals != std::string_view::npos) {
        std::string_view afterEquals = content.substr(equals + 1);
        while (!afterEquals.empty() && IsBlank(afterEquals.front())) afterEquals.remove_prefix(1);
        meaning.valueOffset = static_cast<std::size_t>(afterEquals.data() - text.data());
        meaning.value = TrimView(afterEquals);
    }
    return meaning;
}

// The next line of `file` and its line end; false at the end of the file.
// Only a line is held, however long the file.
bool ReadProfileLine(std::FILE* file, ProfileLine& line) {
    line.text.clear();
    line.ending.clear();
    int c = 0;
    while ((c = std::getc(file)) != EOF && c != '\n') line.text.push_back(static_cast<char>(c));
    if (std::ferror(file)) throw UserError(Message(MessageId::ReadError, {ReasonOf(errno)}));
    if (c == '\n') {
        const bool crLf = line.text.ends_with('\r');
        if (crLf) line.text.pop_back();
        line.ending = crLf ? "\r\n" : "\n";
    }
    return c == '\n' || !line.text.empty();
}

// An entry of the section for one of the keys the program keeps: its line
// and its value as the private-profile reader returns it.
struct ProfileEntry {
    std::size_t line = 0;
    std::string value;
};

// What one pass over the file tells about the section: only its first
// occurrence counts, and in it the first line of each key. New entries go
// after the section's last entry, or into a new section at the end of the file.
struct SectionIndex {
    std::unordered_map<std::string, ProfileEntry> entries;  // by lower-cased key
    std::size_t insertAt = kNoPosition;  // the line new entries go before; kNoPosition: no section
    std::size_t lines = 0;
    std::string lineEnd = "\r\n";  // for new lines: the file's first line end
    bool endsBlank = true;         // the file is empty or its last line is blank
    bool endsOpen = false;         // the last line has no line end
};

// The keys the program keeps, lower-cased: the controls' names and the last folder's.
std::unordered_map<std::string, std::string_view> KeysByLowerCaseName() {
    std::unordered_map<std::string, std::string_view> names;
    for (const OptionControl& control : OptionControls()) {
        names.emplace(LowerCaseAscii(control.name), control.name);
    }
    names.emplace(LowerCaseAscii(kLastFolderKey), kLastFolderKey);
    return names;
}

SectionIndex IndexSection(std::FILE* file) {
    const auto keys = KeysByLowerCaseName();
    const std::string wanted = LowerCaseAscii(kSettingsSection);
    SectionIndex index;
    bool lineEndSeen = false, inSection = false, sectionDone = false;
    ProfileLine line;
    for (; ReadProfileLine(file, line); ++index.lines) {
        if (!lineEndSeen && !line.ending.empty()) index.lineEnd = line.ending;
        lineEndSeen |= !line.ending.empty();
        const LineMeaning meaning = MeaningOf(line.text, index.lines == 0);
        index.endsBlank = meaning.kind == LineKind::Blank;
        index.endsOpen = line.ending.empty();
        if (sectionDone) continue;
        if (meaning.kind == LineKind::SectionHeader) {
            sectionDone = inSection;  // the next section ends ours
            inSection = !sectionDone && LowerCaseAscii(meaning.name) == wanted;
            if (inSection) index.insertAt = index.lines + 1;
        } else if (inSection && meaning.kind == LineKind::Entry) {
            index.insertAt = index.lines + 1;
            std::string key = LowerCaseAscii(meaning.name);
            if (!keys.contains(key)) continue;
            const std::string_view value =
                Unquoted(meaning.value).substr(0, kMaxProfileValueLength);
            index.entries.emplace(std::move(key), ProfileEntry{index.lines, std::string(value)});
        }
    }
    return index;
}

// The index of `file`; an empty one when nothing of that name exists.
// Throws UserError with the reason when it exists but cannot be read.
SectionIndex IndexOfFile(const fs::path& file) {
    if (NameIsFree(file)) return {};
    const FileHandle input = OpenInputFile(file);
    return IndexSection(input.get());
}

// A key and the value the file is to store under it.
struct Setting {
    std::string_view key;
    std::string value;
};

// Every control's value ("1"/"0" for a check box, an edit field's text), in
// the controls' order, then the last folder when there is one.
std::vector<Setting> SettingsToWrite(const Options& options, const fs::path& lastFolder) {
    std::vector<Setting> settings;
    for (const OptionControl& control : OptionControls()) {
        settings.push_back({control.name, control.IsCheckBox()
                                              ? std::string(control.Ticked(options) ? "1" : "0")
                                              : control.Text(options)});
    }
    if (!lastFolder.empty()) settings.push_back({kLastFolderKey, PathText(lastFolder)});
    return settings;
}

// Replaces only the value's bytes, so the key's spelling and the blanks around
// it stay; a value that reads back unchanged is left as it is written.
void SetValue(ProfileLine& line, bool firstLine, std::string_view value) {
    const LineMeaning meaning = MeaningOf(line.text, firstLine);
    if (meaning.valueOffset == kNoPosition) {
        line.text.insert(meaning.nameEnd, '=' + StoredValue(value));
    } else if (Unquoted(meaning.value) != value) {
        line.text.replace(meaning.valueOffset, meaning.value.size(), StoredValue(value));
    }
}

// The entries that the file lacks, in the settings' order; without the
// section, first a blank line after the file's last text and the section's header.
void WriteNewEntries(TextOutput& out, const SectionIndex& index,
                     const std::vector<Setting>& settings) {
    std::string entries;
    for (const Setting& setting : settings) {
        if (index.entries.contains(LowerCaseAscii(setting.key))) continue;
        entries += std::string(setting.key) + '=' + StoredValue(setting.value) + index.lineEnd;
    }
    if (entries.empty()) return;
    if (index.endsOpen && index.insertAt >= index.lines) out.Write(index.lineEnd);
    if (index.insertAt == kNoPosition) {
        if (!index.endsBlank) out.Write(index.lineEnd);
        out.Write('[' + std::string(kSettingsSection) + ']' + index.lineEnd);
    }
    out.Write(entries);
}

// Copies `input` line by line into `out`, with the settings' values set and
// the missing entries added where `index` says.
void WriteSettings(std::FILE* input, const SectionIndex& index,
                   const std::vector<Setting>& settings, TextOutput& out) {
    std::unordered_map<std::size_t, const Setting*> settingOfLine;
    for (const Setting& setting : settings) {
        const auto found = index.entries.find(LowerCaseAscii(setting.key));
        if (found != index.entries.end()) settingOfLine.emplace(found->second.line, &setting);
    }
    ProfileLine line;
    for (std::size_t number = 0; input != nullptr && ReadProfileLine(input, line); ++number) {
        if (number == index.insertAt) WriteNewEntries(out, index, settings);
        if (const auto found = settingOfLine.find(number); found != settingOfLine.end()) {
            SetValue(line, number == 0, found->second->value);
        }
        out.Write(line.text);
        out.Write(line.ending);
    }
    if (index.insertAt >= index.lines) WriteNewEntries(out, index, settings);
}

bool IsDigit(char c, int base) {
    if (c >= '0' && c <= '9') return true;
    return base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

}  // namespace

std::optional<long long> ParseProfileInteger(std::string_view text) {
    int base = 10;
    bool prefixed = true;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with('+')) {
        text.remove_prefix(1);
    } else {
        prefixed = false;
    }
    // from_chars takes a '-' of its own: after "0x" or "+" a digit must follow.
    if (prefixed && (text.empty() || !IsDigit(text.front(), base))) return std::nullopt;
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

Options LoadSettings(const fs::path& file) {
    SectionIndex index;
    try {
        index = IndexOfFile(file);
    } catch (const UserError&) {
        // A file that cannot be read: the settings of a first start hold.
    }
    Options options;  // the first start's values until the file says otherwise
    for (const OptionControl& control : OptionControls()) {
        const auto found = index.entries.find(LowerCaseAscii(control.name));
        const ProfileEntry* entry = found == index.entries.end() ? nullptr : &found->second;
        if (!control.IsCheckBox()) {
            control.SetText(options, entry != nullptr ? entry->value : std::string());
            continue;
        }
        const std::optional<long long> number =
            entry != nullptr ? ParseProfileInteger(entry->value) : std::optional<long long>();
        if (number) control.SetTicked(options, *number != 0);
    }
    return options;
}

fs::path LoadLastFolder(const fs::path& file) {
    SectionIndex index;
    try {
        index = IndexOfFile(file);
    } catch (const UserError&) {
        return {};
    }
    const auto found = index.entries.find(LowerCaseAscii(kLastFolderKey));
    if (found == index.entries.end()) return {};
    // A value edited by hand into another encoding names no folder.
    return IsWellFormedUtf8(found->second.value) ? PathFromText(found->second.value) : fs::path();
}

// Two passes over the old file, one line at a time: the index, then the
// copy. The whole file is replaced in one step. A file that cannot be read is
// not replaced: that would lose what it holds.
void SaveSettings(const fs::path& file, const Options& options, const fs::path& lastFolder) {
    FileHandle input;
    if (!NameIsFree(file)) input = OpenInputFile(file);
    const SectionIndex index = input ? IndexSection(input.get()) : SectionIndex();
    if (input) std::rewind(input.get());
    AtomicOutputFile output(file);
    TextOutput out(output.File(), PathText(file));
    WriteSettings(input.get(), index, SettingsToWrite(options, lastFolder), out);
    out.Flush();
    input.reset();  // Windows replaces no file that is open
    output.Commit();
}

}  // namespace oradel
