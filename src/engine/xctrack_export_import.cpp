#include "engine/xctrack_export_import.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
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

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One point line of the export, taken apart field by field. One object reads
// every line, so that its buffers are reused.
class ExportLine {
  public:
    // `fileName` (UTF-8) names the file in error messages and must outlive this object.
    explicit ExportLine(const std::string& fileName) : fileName_(fileName) {}

    // Takes `text` (which must outlive its use) apart. A line that is not
    // well-formed UTF-8 is taken as Windows-1251 bytes.
    void Read(std::string_view text, std::size_t lineNumber);

    // The name and the description as Windows-1251.
    std::string_view Name() const { return utf8_ ? nameAnsi_ : fields_[kName]; }
    std::string_view Description() const {
        return utf8_ ? descriptionAnsi_ : fields_[kDescription];
    }
    // A hemisphere letter, then degrees, minutes and seconds; "S" and "W"
    // make the value negative.
    double Latitude() const { return Angle(kLatitude, "S"); }
    double Longitude() const { return Angle(kLongitude, "W"); }

  private:
    // Name, four latitude fields, four longitude fields, altitude, description.
    static constexpr std::size_t kName = 0, kLatitude = 1, kLongitude = 5, kDescription = 10;

    bool DecodeUtf8();
    double Angle(std::size_t first, std::string_view negativeLetter) const;
    double Number(std::size_t field) const;

    std::array<std::string_view, kDescription + 1> fields_;
    bool utf8_ = false;
    std::string nameAnsi_;
    std::string descriptionAnsi_;
    std::size_t lineNumber_ = 0;
    const std::string& fileName_;
};

// Fields end at a space; the description is the trimmed rest of the line.
void ExportLine::Read(std::string_view text, std::size_t lineNumber) {
    for (std::size_t field = kName; field < kDescription; ++field) {
        SplitFirstField(text, fields_[field], " ");
    }
    fields_[kDescription] = TrimView(text);
    lineNumber_ = lineNumber;
    utf8_ = DecodeUtf8();
}

// Every byte between the fields is a space or a control byte, which cannot
// stand inside a UTF-8 form: the line is well-formed exactly when every field
// is. The name and the description are converted while they are checked.
bool ExportLine::DecodeUtf8() {
    for (std::size_t field = kName + 1; field < kDescription; ++field) {
        if (!IsAscii(fields_[field]) && !IsWellFormedUtf8(fields_[field])) return false;
    }
    return TryCp1251FromUtf8(fields_[kName], nameAnsi_) &&
           TryCp1251FromUtf8(fields_[kDescription], descriptionAnsi_);
}

double ExportLine::Angle(std::size_t first, std::string_view negativeLetter) const {
    const bool negative = TrimView(fields_[first]) == negativeLetter;
    const double degrees = Number(first + 1);
    const double minutes = Number(first + 2);
    const double seconds = Number(first + 3);
    const double angle = degrees + minutes / 60 + seconds / 3600;
    return negative ? -std::fabs(angle) : angle;
}

// A field ends at a space; a tab or other control byte before that space is
// trimmed off, as at the ends of the line.
double ExportLine::Number(std::size_t field) const {
    const std::string_view text = TrimView(fields_[field]);
    if (const std::optional<double> value = ParseDecimal(text)) return *value;
    const std::string shown = utf8_ ? std::string(text) : Utf8FromCp1251(text);
    throw UserError("'" + shown + "' is not a valid floating point value (line " +
                    std::to_string(lineNumber_) + " of " + fileName_ + ")");
}

// Writes the record of one point line: name, coordinates, description, empty line.
void ImportPoint(const ExportLine& point, TextOutput& out, std::string& buffer) {
    out.WriteLine(point.Name());
    const double latitude = point.Latitude();
    const double longitude = point.Longitude();
    buffer.clear();
    AppendWithPattern(buffer, latitude, "00.000000");
    buffer += ' ';
    AppendWithPattern(buffer, longitude, "00.000000");
    out.WriteLine(buffer);
    out.WriteLine(point.Description());
    out.WriteLine("");
}

}  // namespace

// $FormatGEO
// Холм_Ветров    N 44 7 24.24    E 042 34 04.08   0  Старт с юга
void ImportXCTrackExport(ConversionContext& context) {
    TextInput& in = context.input;
    const std::string fileName = PathText(context.inputPath);
    std::string line;
    std::string buffer;
    ExportLine point(fileName);
    in.ReadLine(line);  // the header, with a byte-order mark if there is one
    std::size_t lineNumber = 1;
    while (!in.AtEnd()) {
        in.ReadLine(line);
        ++lineNumber;
        if (TrimView(line).empty()) continue;
        point.Read(line, lineNumber);
        ImportPoint(point, context.output, buffer);
    }
}

}  // namespace oradel
