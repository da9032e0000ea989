#include "engine/imported_points.hpp"

#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/point_list_reader.hpp"
#include "text/codepage.hpp"
#include "text/imported_text.hpp"
#include "text/strings.hpp"

namespace oradel {

bool DecodeImportedText(std::string_view bytes, std::string& text) {
    const Windows1251Conversion conversion = TryWindows1251FromUtf8(bytes, text);
    if (conversion == Windows1251Conversion::Malformed) text.assign(bytes);
    return conversion == Windows1251Conversion::Replaced;
}

std::string ShownImportedText(std::string_view bytes) {
    std::string text;
    DecodeImportedText(bytes, text);
    return Utf8FromWindows1251(text);
}

double ImportedNumber(std::string_view field, std::size_t lineNumber, const std::string& fileName) {
    const std::string_view text = TrimView(field);
    if (const std::optional<double> value = ParseDecimal(text)) return *value;
    throw UserError(
        Message(MessageId::NotANumber, {ShownImportedText(text), lineNumber, fileName}));
}

void ListRecordWriter::Write(ImportedPoint& point) {
    KeepAsListText(point.name, ImportedField::Name);
    KeepAsListText(point.description, ImportedField::Comment);
    const bool nameless = TrimView(point.name).empty();
    out_.WriteLine(nameless ? UnnamedPointName(++namelessPoints_) : point.name);
    line_.clear();
    AppendWithPattern(line_, point.lat, "00.000000");
    line_ += ' ';
    AppendWithPattern(line_, point.lon, "00.000000");
    if (point.altitude) line_ += ' ' + std::to_string(*point.altitude);
    out_.WriteLine(line_);
    out_.WriteLine(point.description);
    out_.WriteLine("");
}

}  // namespace oradel
