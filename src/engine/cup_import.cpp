// name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc
// "Юца","YUTSA",RU,4357.672N,04259.070E,1850.0m,1,,,,"Старт на южном склоне"
//
// Fields are separated by commas. A field that starts with a quote runs to
// the quote that closes it, "" standing for a quote inside; a quote left
// open ends with the line. The header line is optional: the first line is
// one when a field names the "lat" column, and its names (case aside, with
// the long names "title", "latitude" and the like) say where the fields
// stand, in any order; without it the fields stand in the order above.
// Blank lines and lines that start with "*" are passed over, and the line
// "-----Related Tasks-----" ends the waypoints. The list takes the name, the
// latitude (DDMM.mmmN or S, any number of decimals), the longitude
// (DDDMM.mmmE or W), the elevation ("m", "ft" or no unit; empty or
// unreadable: none) and the description; style, runway and frequency are
// left behind. Each text is read as UTF-8, or as Windows-1251 when it is not
// well-formed UTF-8, as CUP files come in either.
#include "engine/cup_import.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/coordinates.hpp"
#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/imported_points.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kTasks = "-----Related Tasks";

enum Column : std::size_t { kName, kLatitude, kLongitude, kElevation, kDescription, kColumns };
using Columns = std::array<std::size_t, kColumns>;
constexpr std::size_t kNoField = static_cast<std::size_t>(-1);
// name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc
constexpr Columns kStandardColumns = {0, 3, 4, 5, 10};
// A header names its columns within its first fields (CUP has 11 to 14).
constexpr std::size_t kHeaderFields = 64;

struct ColumnName {
    std::string_view name;  // upper case
    Column column;
};
constexpr ColumnName kColumnNames[] = {
    {"NAME", kName},        {"TITLE", kName},
    {"LAT", kLatitude},     {"LATITUDE", kLatitude},
    {"LON", kLongitude},    {"LONGITUDE", kLongitude},
    {"ELEV", kElevation},   {"ELEVATION", kElevation},
    {"DESC", kDescription}, {"DESCRIPTION", kDescription},
};

// The first `count` fields of `line`, each trimmed outside its quotes; what
// stands between a closing quote and the next comma is kept with the field.
void SplitFields(std::string_view line, std::size_t count, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t pos = 0;
    while (fields.size() < count) {
        std::string& field = fields.emplace_back();
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos < line.size() && line[pos] == '"') {
            for (++pos; pos < line.size(); ++pos) {
                if (line[pos] != '"') {
                    field += line[pos];
                } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
                    field += line[++pos];
                } else {
                    ++pos;
                    break;
                }
            }
        }
        const std::size_t comma = std::min(line.find(',', pos), line.size());
        field += TrimView(line.substr(pos, comma - pos));
        if (comma == line.size()) return;
        pos = comma + 1;
    }
}

// How many fields of a line reach every column.
constexpr std::size_t FieldsFor(const Columns& columns) {
    std::size_t count = 0;
    for (const std::size_t column : columns) {
        if (column != kNoField) count = std::max(count, column + 1);
    }
    return count;
}

bool AllDigits(std::string_view text) {
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "4357.672N": degrees in up to `degreeDigits` digits, two digits of whole
// minutes, optionally a point and decimals of a minute, and the hemisphere
// letter of `letters` (positive, negative; lower case) in either case.
// nullopt for any other text, 60 minutes or more, or more than `limit`
// degrees.
std::optional<double> ReadAngle(std::string_view text, std::string_view letters,
                                std::size_t degreeDigits, double limit) {
    text = TrimView(text);
    const char letter = text.empty() ? ' ' : LowerAscii(text.back());
    if (letter != letters[0] && letter != letters[1]) return std::nullopt;
    text.remove_suffix(1);
    const std::size_t point = std::min(text.find('.'), text.size());
    const std::string_view whole = text.substr(0, point);
    const bool hasPoint = point < text.size();
    const std::string_view decimals = hasPoint ? text.substr(point + 1) : std::string_view();
    if (whole.size() < 3 || whole.size() > degreeDigits + 2 || !AllDigits(whole) ||
        (hasPoint && (decimals.empty() || !AllDigits(decimals)))) {
        return std::nullopt;
    }
    const double degrees = *ParseDecimal(whole.substr(0, whole.size() - 2));
    const double minutes = *ParseDecimal(text.substr(whole.size() - 2));
    const double value = degrees + minutes / 60;
    if (minutes >= 60 || value > limit) return std::nullopt;
    return letter == letters[1] ? -value : value;
}

std::optional<double> ReadLatitude(std::string_view text) {
    return ReadAngle(text, "ns", 2, 90);
}

std::optional<double> ReadLongitude(std::string_view text) {
    return ReadAngle(text, "ew", 3, 180);
}

// True when the fields hold a latitude and a longitude where the standard order has them.
bool HoldsStandardPosition(const std::vector<std::string>& fields) {
    return fields.size() > kStandardColumns[kLongitude] &&
           ReadLatitude(fields[kStandardColumns[kLatitude]]) &&
           ReadLongitude(fields[kStandardColumns[kLongitude]]);
}

// The columns a header line names; nullopt when it names no latitude, or
// when it reads as a point line (whose description may say "lat").
std::optional<Columns> HeaderColumns(const std::vector<std::string>& fields) {
    Columns columns;
    columns.fill(kNoField);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string name = UpperCaseRu(TrimView(fields[i]));
        for (const ColumnName& known : kColumnNames) {
            if (name == known.name && columns[known.column] == kNoField) columns[known.column] = i;
        }
    }
    if (columns[kLatitude] == kNoField || HoldsStandardPosition(fields)) return std::nullopt;
    return columns;
}

// "1850m", "1850.0M", "6070ft", "1850": whole metres; nullopt for an empty
// or unreadable field.
std::optional<long> ReadElevation(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(), LowerAscii);
    return ReadAltitude(lower);
}

// Reads the waypoint lines of one file, with the columns its header names.
class CupReader {
  public:
    explicit CupReader(ConversionContext& context)
        : context_(context), fileName_(PathText(context.inputPath)), writer_(context.output) {}

    void Run();

  private:
    std::string_view Field(Column column) const {
        const std::size_t index = columns_[column];
        return index < fields_.size() ? TrimView(fields_[index]) : std::string_view();
    }
    double Angle(Column column, std::optional<double> (*read)(std::string_view),
                 std::size_t lineNumber) const;
    void WritePoint(std::size_t lineNumber);

    ConversionContext& context_;
    const std::string fileName_;
    ListRecordWriter writer_;
    Columns columns_ = kStandardColumns;
    std::size_t fieldsTaken_ = FieldsFor(kStandardColumns);
    std::string line_;
    std::vector<std::string> fields_;
};

void CupReader::Run() {
    bool first = true;
    for (std::size_t lineNumber = 1; !context_.input.AtEnd(); ++lineNumber) {
        context_.input.ReadLine(line_);
        if (lineNumber == 1 && line_.starts_with(kByteOrderMark)) line_.erase(0, 3);
        const std::string_view text = TrimView(line_);
        if (text.empty() || text.starts_with('*')) continue;
        if (StartsWithNoCase(text, kTasks)) return;
        if (std::exchange(first, false)) {
            SplitFields(text, kHeaderFields, fields_);
            if (const std::optional<Columns> header = HeaderColumns(fields_)) {
                columns_ = *header;
                fieldsTaken_ = FieldsFor(columns_);
                continue;
            }
        }
        SplitFields(text, fieldsTaken_, fields_);
        WritePoint(lineNumber);
    }
}

double CupReader::Angle(Column column, std::optional<double> (*read)(std::string_view),
                        std::size_t lineNumber) const {
    if (const std::optional<double> value = read(Field(column))) return *value;
    throw UserError(Message(MessageId::NotACupCoordinate,
                            {ShownImportedText(Field(column)), lineNumber, fileName_}));
}

void CupReader::WritePoint(std::size_t lineNumber) {
    ImportedPoint point;
    point.lat = Angle(kLatitude, ReadLatitude, lineNumber);
    point.lon = Angle(kLongitude, ReadLongitude, lineNumber);
    point.altitude = ReadElevation(Field(kElevation));
    context_.state.replacedTexts += DecodeImportedText(Field(kName), point.name);
    context_.state.replacedTexts += DecodeImportedText(Field(kDescription), point.description);
    writer_.Write(point);
}

}  // namespace

void ImportCupWaypoints(ConversionContext& context) {
    CupReader(context).Run();
}

bool IsCupHeader(std::string_view line) {
    std::vector<std::string> fields;
    SplitFields(line, kHeaderFields, fields);
    return HeaderColumns(fields).has_value();
}

bool IsCupPointLine(std::string_view line) {
    if (!TrimView(line).starts_with('"')) return false;
    std::vector<std::string> fields;
    SplitFields(line, kStandardColumns[kLongitude] + 1, fields);
    return HoldsStandardPosition(fields);
}

}  // namespace oradel
