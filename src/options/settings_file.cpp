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

std::vector<ProfileLine> SplitLines(std::string_view bytes) {
    std::vector<ProfileLine> lines;
    while (!bytes.empty()) {
        const std::size_t feed = bytes.find('\n');
        std::string_view text = bytes.substr(0, feed);
        std::string_view ending;
        if (feed != std::string_view::npos) {
            const bool crLf = text.ends_with('\r');
            if (crLf) text.remove_suffix(1);
            ending = crLf ? "\r\n" : "\n";
            bytes.remove_prefix(feed + 1);
        } else {
            bytes = {};
        }
        lines.push_back({std::string(text), std::string(ending)});
    }
    return lines;
}

// The file's lines with the entries of one section, which can be read and set.
// Every line that is not set is kept byte for byte; new entries go after the
// last entry of the section, or into a new section at the end of the file.
class ProfileDocument {
  public:
    ProfileDocument(std::string_view bytes, std::string_view section);

    // The value as the private-profile reader returns it; nullopt for a missing key.
    std::optional<std::string> Value(std::string_view key) const;
    void SetValue(std::string_view key, std::string_view value);
    std::string Text() const;

  private:
    void IndexSection(std::string_view section);
    void AppendNewLines(std::string& out) const;
    ProfileLine& LineAt(std::size_t index) {
        return index < lines_.size() ? lines_[index] : appended_[index - lines_.size()];
    }
    const ProfileLine& LineAt(std::size_t index) const {
        return index < lines_.size() ? lines_[index] : appended_[index - lines_.size()];
    }

    std::string sectionName_;
    std::vector<ProfileLine> lines_;
    std::vector<ProfileLine> appended_;  // new entries, numbered after lines_ in keys_
    std::unordered_map<std::string, std::size_t> keys_;  // lower-cased key -> first line
    std::size_t insertAt_ = kNoPosition;  // where new entries go; kNoPosition: no section
    std::string lineEnd_ = "\r\n";        // for new lines: the file's first line end
};

ProfileDocument::ProfileDocument(std::string_view bytes, std::string_view section)
    : sectionName_(section), lines_(SplitLines(bytes)) {
    for (const ProfileLine& line : lines_) {
        if (!line.ending.empty()) {
            lineEnd_ = line.ending;
            break;
        }
    }
    IndexSection(section);
}

// Only the first section of that name counts, and in it the first line of each key.
void ProfileDocument::IndexSection(std::string_view section) {
    const std::string wanted = LowerCaseAscii(section);
    bool inSection = false;
    for (std::size_t index = 0; index < lines_.size(); ++index) {
        const LineMeaning meaning = MeaningOf(lines_[index].text, index == 0);
        if (meaning.kind == LineKind::SectionHeader) {
            if (inSection) return;  // the next section ends ours
            inSection = LowerCaseAscii(meaning.name) == wanted;
            if (inSection) insertAt_ = index + 1;
        } else if (inSection && meaning.kind == LineKind::Entry) {
            keys_.emplace(LowerCaseAscii(meaning.name), index);
            insertAt_ = index + 1;
        }
    }
}

std::optional<std::string> ProfileDocument::Value(std::string_view key) const {
    const auto found = keys_.find(LowerCaseAscii(key));
    if (found == keys_.end()) return std::nullopt;
    const LineMeaning meaning = MeaningOf(LineAt(found->second).text, found->second == 0);
    return std::string(Unquoted(meaning.value).substr(0, kMaxProfileValueLength));
}

// Replaces only the value's bytes, so the key's spelling and the blanks around
// it stay; a value that reads back unchanged is left as it is written.
void ProfileDocument::SetValue(std::string_view key, std::string_view value) {
    std::string lowerKey = LowerCaseAscii(key);
    const auto found = keys_.find(lowerKey);
    if (found == keys_.end()) {
        keys_.emplace(std::move(lowerKey), lines_.size() + appended_.size());
        appended_.push_back({std::string(key) + '=' + StoredValue(value), lineEnd_});
        return;
    }
    ProfileLine& line = LineAt(found->second);
    const LineMeaning meaning = MeaningOf(line.text, found->second == 0);
    if (meaning.valueOffset == kNoPosition) {
        line.text.insert(meaning.nameEnd, '=' + StoredValue(value));
    } else if (Unquoted(meaning.value) != value) {
        line.text.replace(meaning.valueOffset, meaning.value.size(), StoredValue(value));
    }
}

std::string ProfileDocument::Text() const {
    std::string out;
    for (std::size_t index = 0; index < lines_.size(); ++index) {
        if (index == insertAt_) AppendNewLines(out);
        out += lines_[index].text;
        out += lines_[index].ending;
    }
    if (insertAt_ == lines_.size() || insertAt_ == kNoPosition) AppendNewLines(out);
    return out;
}

// Writes the new entries; without the section, first a blank line after the
// file's last text and the section's header.
void ProfileDocument::AppendNewLines(std::string& out) const {
    if (appended_.empty()) return;
    if (!out.empty() && out.back() != '\n') out += lineEnd_;
    if (insertAt_ == kNoPosition) {
        const bool endsBlank =
            lines_.empty() ||
            MeaningOf(lines_.back().text, lines_.size() == 1).kind == LineKind::Blank;
        if (!endsBlank) out += lineEnd_;
        out += '[' + sectionName_ + ']' + lineEnd_;
    }
    for (const ProfileLine& line : appended_) {
        out += line.text;
        out += line.ending;
    }
}

// The bytes of `file`: empty when nothing of that name exists; throws
// UserError with the reason when it exists but cannot be read.
std::string ReadWholeFile(const fs::path& file) {
    if (NameIsFree(file)) return {};
    const FileHandle input = OpenInputFile(file);
    std::string bytes;
    char buffer[64 * 1024];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, input.get())) > 0) {
        bytes.append(buffer, count);
    }
    if (std::ferror(input.get())) {
        throw UserError(Message(MessageId::ReadError, {ReasonOf(errno)}));
    }
    return bytes;
}

// The bytes of `file`, or none when it cannot be read: the settings of a
// first start then hold.
std::string BytesOrNothing(const fs::path& file) {
    try {
        return ReadWholeFile(file);
    } catch (const UserError&) {
        return {};
    }
}

// Replaces the file's content in one step; throws UserError with the reason
// when that fails (the file is then unchanged).
void ReplaceWholeFile(const fs::path& file, const std::string& bytes) {
    AtomicOutputFile output(file);
    if (std::fwrite(bytes.data(), 1, bytes.size(), output.File()) != bytes.size()) {
        throw UserError(Message(MessageId::CannotWriteFile, {PathText(file), ReasonOf(errno)}));
    }
    output.Commit();
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
    const ProfileDocument document(BytesOrNothing(file), kSettingsSection);
    Options options;  // the first start's values until the file says otherwise
    for (const OptionControl& control : OptionControls()) {
        const std::optional<std::string> value = document.Value(control.name);
        if (!control.IsCheckBox()) {
            control.SetText(options, value.value_or(std::string()));
            continue;
        }
        const std::optional<long long> number =
            value ? ParseProfileInteger(*value) : std::optional<long long>();
        if (number) control.SetTicked(options, *number != 0);
    }
    return options;
}

fs::path LoadLastFolder(const fs::path& file) {
    const ProfileDocument document(BytesOrNothing(file), kSettingsSection);
    const std::string folder = document.Value(kLastFolderKey).value_or(std::string());
    // A value edited by hand into another encoding names no folder.
    return IsWellFormedUtf8(folder) ? PathFromText(folder) : fs::path();
}

void SaveSettings(const fs::path& file, const Options& options, const fs::path& lastFolder) {
    // A file that cannot be read is not replaced: that would lose what it holds.
    ProfileDocument document(ReadWholeFile(file), kSettingsSection);
    for (const OptionControl& control : OptionControls()) {
        if (control.IsCheckBox()) {
            document.SetValue(control.name, control.Ticked(options) ? "1" : "0");
        } else {
            document.SetValue(control.name, control.Text(options));
        }
    }
    if (!lastFolder.empty()) document.SetValue(kLastFolderKey, PathText(lastFolder));
    ReplaceWholeFile(file, document.Text());
}

}  // namespace oradel
