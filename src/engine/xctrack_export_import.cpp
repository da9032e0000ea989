#include "engine/xctrack_export_import.hpp"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

// One point line of the export, taken apart field by field.
class ExportLine {
  public:
    // `text` must outlive this object; `lineNumber` and `fileName` (UTF-8) name
    // the place in error messages.
    ExportLine(std::string_view text, std::size_t lineNumber, const std::string& fileName)
        : rest_(text),
          utf8_(IsWellFormedUtf8(text)),
          lineNumber_(lineNumber),
          fileName_(fileName) {}

    // The next space-separated field.
    std::string_view NextField() {
        std::string_view field;
        SplitFirstField(rest_, field, " ");
        return field;
    }
    // The text after the fields taken so far, trimmed.
    std::string_view Rest() const { return TrimView(rest_); }

    // A hemisphere letter, then degrees, minutes and seconds; the letter
    // `negativeLetter` ("S", "W") makes the value negative.
    double NextAngle(std::string_view negativeLetter);

    // A field's text as Windows-1251. A line that is not UTF-8 is taken as
    // Windows-1251 as it stands.
    std::string_view Ansi(std::string_view field, std::string& buffer) const;

  private:
    double NextNumber();

    std::string_view rest_;
    bool utf8_;
    std::size_t lineNumber_;
    const std::string& fileName_;
};

double ExportLine::NextAngle(std::string_view negativeLetter) {
    const bool negative = TrimView(NextField()) == negativeLetter;
    const double degrees = NextNumber();
    const double minutes = NextNumber();
    const double seconds = NextNumber();
    const double angle = degrees + minutes / 60 + seconds / 3600;
    return negative ? -std::fabs(angle) : angle;
}

// A field ends at a space; a tab or other control byte before that space is
// trimmed off, as at the ends of the line.
double ExportLine::NextNumber() {
    const std::string_view field = TrimView(NextField());
    if (const std::optional<double> value = ParseDecimal(field)) return *value;
    const std::string shown = utf8_ ? std::string(field) : Utf8FromCp1251(field);
    throw UserError("'" + shown + "' is not a valid floating point value (line " +
                    std::to_string(lineNumber_) + " of " + fileName_ + ")");
}

std::string_view ExportLine::Ansi(std::string_view field, std::string& buffer) const {
    if (!utf8_) return field;
    buffer = Cp1251FromUtf8(field);
    return buffer;
}

// Writes the record of one point line: name, coordinates, description, empty line.
void ImportPoint(ExportLine& point, TextOutput& out, std::string& buffer) {
    out.WriteLine(point.Ansi(point.NextField(), buffer));
    const double latitude = point.NextAngle("S");
    const double longitude = point.NextAngle("W");
    point.NextField();  // the altitude
    buffer.clear();
    AppendWithPattern(buffer, latitude, "00.000000");
    buffer += ' ';
    AppendWithPattern(buffer, longitude, "00.000000");
    out.WriteLine(buffer);
    out.WriteLine(point.Ansi(point.Rest(), buffer));
    out.WriteLine("");
}

}  // namespace

// $FormatGEO
// Холм_Ветров    N 44 7 24.24    E 042 34 04.08   0  Старт с юга
void ImportFlightAppExport(ConversionContext& context) {
    TextInput& in = context.input;
    const std::string fileName = PathText(context.inputPath);
    std::string line;
    std::string buffer;
    in.ReadLine(line);  // the header, with a byte-order mark if there is one
    std::size_t lineNumber = 1;
    while (!in.AtEnd()) {
        in.ReadLine(line);
        ++lineNumber;
        if (TrimView(line).empty()) continue;
        ExportLine point(line, lineNumber, fileName);
        ImportPoint(point, context.output, buffer);
    }
}

}  // namespace oradel
