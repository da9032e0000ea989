#include "engine/xctrack_export_import.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/compegps_import.hpp"
#include "engine/coordinates.hpp"
#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/imported_points.hpp"
#include "engine/ozi_import.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

// A point line holds a group of nine fields: hemisphere letter, degrees,
// minutes, seconds of the latitude, the same of the longitude, and the
// altitude, with blanks of any width between them. What stands before the
// group is the name (blanks inside kept), what follows it the description.
// A line without such a group is read by position as XCTrack writes it: name,
// then the nine fields, then the description.

constexpr std::size_t kAngleFields = 4;  // hemisphere letter, degrees, minutes, seconds
constexpr std::size_t kGroupFields = 2 * kAngleFields + 1;

using Angle = std::array<std::string_view, kAngleFields>;

struct GeoPoint {
    std::string_view name;
    Angle latitude, longitude;
    std::string_view altitude;
    std::string_view description;
    // Degrees, minutes, seconds of both angles, when finding the group read them.
    std::optional<std::array<double, 2 * (kAngleFields - 1)>> numbers;
};

// The blank-separated words of `line`, as views into it.
void SplitWords(std::string_view line, std::vector<std::string_view>& words) {
    words.clear();
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) ++pos;
        if (pos > start) words.push_back(line.substr(start, pos - start));
    }
}

// True when the words from `at` are one of the hemisphere `letters` and three
// numbers, which go to `numbers`.
bool IsAngleAt(const std::vector<std::string_view>& words, std::size_t at, std::string_view letters,
               double* numbers) {
    if (words[at].size() != 1 || letters.find(words[at][0]) == std::string_view::npos) {
        return false;
    }
    for (std::size_t k = 1; k < kAngleFields; ++k) {
        const std::optional<double> number = ParseDecimal(words[at + k]);
        if (!number) return false;
        numbers[k - 1] = *number;
    }
    return true;
}

// The text after `word` (a view into `line`) to the end of the line, trimmed.
std::string_view After(std::string_view line, std::string_view word) {
    return TrimView(line.substr(static_cast<std::size_t>(word.data() + word.size() - line.data())));
}

// Finds the first group of the fields in `line`; false when there is none.
bool ReadByGroup(std::string_view line, const std::vector<std::string_view>& words,
                 GeoPoint& point) {
    std::array<double, 2 * (kAngleFields - 1)> numbers{};
    for (std::size_t at = 0; at + 2 * kAngleFields <= words.size(); ++at) {
        if (!IsAngleAt(words, at, "NS", &numbers[0]) ||
            !IsAngleAt(words, at + kAngleFields, "EW", &numbers[kAngleFields - 1])) {
            continue;
        }
        point.numbers = numbers;
        point.name =
            TrimView(line.substr(0, static_cast<std::size_t>(words[at].data() - line.data())));
        for (std::size_t k = 0; k < kAngleFields; ++k) {
            point.latitude[k] = words[at + k];
            point.longitude[k] = words[at + kAngleFields + k];
        }
        const std::size_t altitude = at + kGroupFields - 1;
        point.altitude = altitude < words.size() ? words[altitude] : "";
        point.description = altitude < words.size() ? After(line, words[altitude]) : "";
        return true;
    }
    return false;
}

// Fields end at a space; the description is the trimmed rest of the line.
void ReadByPosition(std::string_view line, GeoPoint& point) {
    point.numbers.reset();
    SplitFirstField(line, point.name, " ");
    for (std::string_view& part : point.latitude) SplitFirstField(line, part, " ");
    for (std::string_view& part : point.longitude) SplitFirstField(line, part, " ");
    SplitFirstField(line, point.altitude, " ");
    point.description = TrimView(line);
}

// One point line of the export, taken apart. One object reads every line, so
// that its buffers are reused.
class ExportLine {
  public:
    // `fileName` (UTF-8) names the file in error messages and must outlive this object.
    explicit ExportLine(const std::string& fileName) : fileName_(fileName) {}

    // Takes `text` apart; a line that is not well-formed UTF-8 is taken as
    // Windows-1251 bytes. Returns the number of names and descriptions in
    // which a character Windows-1251 lacks was replaced.
    std::size_t Read(std::string_view text, std::size_t lineNumber);

    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    // "S" and "W" make the value negative.
    double Latitude() const { return AngleValue(point_.latitude, "S", 0); }
    double Longitude() const { return AngleValue(point_.longitude, "W", kAngleFields - 1); }
    // Whole metres; GEO files write 0 for a point whose altitude they do not
    // know, and whatever does not read as a number is no altitude either.
    std::optional<long> Altitude() const {
        const std::optional<long> metres = ReadAltitude(point_.altitude);
        return metres == 0 ? std::nullopt : metres;
    }

  private:
    std::size_t Convert(std::string_view line);
    double AngleValue(const Angle& angle, std::string_view negativeLetter,
                      std::size_t firstNumber) const;
    double Number(std::string_view field) const;

    GeoPoint point_;
    std::vector<std::string_view> words_;
    bool utf8_ = false;
    std::string name_, description_;
    std::size_t lineNumber_ = 0;
    const std::string& fileName_;
};

std::size_t ExportLine::Read(std::string_view text, std::size_t lineNumber) {
    lineNumber_ = lineNumber;
    SplitWords(text, words_);
    if (!ReadByGroup(text, words_, point_)) ReadByPosition(TrimView(text), point_);
    return Convert(text);
}

// The name and the description are decoded while they are checked; the line
// is UTF-8 when they and the fields between them are well-formed. Returns the
// number of them in which a character had to be replaced.
std::size_t ExportLine::Convert(std::string_view line) {
    const Windows1251Conversion name = TryWindows1251FromUtf8(point_.name, name_);
    const Windows1251Conversion description =
        TryWindows1251FromUtf8(point_.description, description_);
    const std::size_t fieldsFrom =
        static_cast<std::size_t>(point_.name.data() + point_.name.size() - line.data());
    const std::size_t fieldsTo =
        point_.description.empty()
            ? line.size()
            : static_cast<std::size_t>(point_.description.data() - line.data());
    utf8_ = name != Windows1251Conversion::Malformed &&
            description != Windows1251Conversion::Malformed &&
            IsWellFormedUtf8(line.substr(fieldsFrom, fieldsTo - fieldsFrom));
    if (!utf8_) {
        name_.assign(point_.name);
        description_.assign(point_.description);
        return 0;
    }
    return (name == Windows1251Conversion::Replaced ? 1 : 0) +
           (description == Windows1251Conversion::Replaced ? 1 : 0);
}

// The numbers of the angle that starts at `firstNumber` of point_.numbers,
// or read from its fields.
double ExportLine::AngleValue(const Angle& angle, std::string_view negativeLetter,
                              std::size_t firstNumber) const {
    const bool negative = TrimView(angle[0]) == negativeLetter;
    std::array<double, kAngleFields - 1> parts{};
    for (std::size_t k = 0; k < parts.size(); ++k) {
        parts[k] = point_.numbers ? (*point_.numbers)[firstNumber + k] : Number(angle[k + 1]);
    }
    const double value = parts[0] + parts[1] / 60 + parts[2] / 3600;
    return negative ? -std::fabs(value) : value;
}

// A tab or other control byte at a field's ends is trimmed off, as at the
// ends of the line.
double ExportLine::Number(std::string_view field) const {
    const std::string_view text = TrimView(field);
    if (const std::optional<double> value = ParseDecimal(text)) return *value;
    const std::string shown = utf8_ ? std::string(text) : Utf8FromWindows1251(text);
    throw UserError(Message(MessageId::NotANumber, {shown, lineNumber_, fileName_}));
}

// The first line loses its byte-order mark; it is a point unless it is the
// header "$FormatGEO".
bool IsHeader(std::string& firstLine) {
    if (firstLine.starts_with("\xEF\xBB\xBF")) firstLine.erase(0, 3);
    return TrimView(firstLine).starts_with("$FormatGEO");
}

}  // namespace

void ImportWaypointFile(ConversionContext& context) {
    switch (context.inputFormat) {
        case FileFormat::CompeGpsWaypoints:
            return ImportCompeGpsWaypoints(context);
        case FileFormat::OziWaypoints:
            return ImportOziWaypoints(context);
        default:
            return ImportXCTrackExport(context);
    }
}

bool IsGeoPointLine(std::string_view line) {
    std::vector<std::string_view> words;
    SplitWords(line, words);
    GeoPoint point;
    return ReadByGroup(line, words, point);
}

// $FormatGEO
// Холм Ветров    N 44 7 24.24    E 042 34 04.08   0  Старт с юга
void ImportXCTrackExport(ConversionContext& context) {
    TextInput& in = context.input;
    const std::string fileName = PathText(context.inputPath);
    std::string line;
    ExportLine exportLine(fileName);
    ListRecordWriter writer(context.output);
    for (std::size_t lineNumber = 1; !in.AtEnd(); ++lineNumber) {
        in.ReadLine(line);
        if ((lineNumber == 1 && IsHeader(line)) || TrimView(line).empty()) continue;
        context.state.replacedTexts += exportLine.Read(line, lineNumber);
        ImportedPoint point{exportLine.Name(), exportLine.Latitude(), exportLine.Longitude(),
                            exportLine.Altitude(), exportLine.Description()};
        writer.Write(point);
    }
}

}  // namespace oradel
