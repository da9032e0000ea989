// name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc
// "Юца","Yutsa",,4357.672N,04259.070E,1850m,1,,,,"Старт на южном склоне"
//
// UTF-8 without a byte-order mark, the header line first. Each point whose
// coordinates can be read gets one line: its name, unique in the file and at
// most 30 bytes (LK8000 keeps no more), cut on a character boundary; a code
// of at most 15 ASCII characters (LK8000's limit), the name's Latin form,
// unique too; no country; latitude and longitude in degrees and minutes with
// exactly three decimals (XCSoar skips any other form); the altitude in
// whole metres, empty when the list gives none; style 1 (a plain waypoint);
// no runway or frequency; the first comment, markup as written. Name, code
// and description stand in quotes, a quote inside them written as an
// apostrophe and a control character as a space. A line stays within 1000
// bytes (LK8000 7.5 reads 1021 of a line): the description is cut to fit.
#include "engine/cup_waypoints_writer.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "engine/decimal_numbers.hpp"
#include "engine/export_points.hpp"
#include "engine/unique_names.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

constexpr std::string_view kHeader = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc";
constexpr std::size_t kMaxCodeLength = 15;
constexpr std::size_t kMaxLineBytes = 1000;
constexpr int kThousandthsPerDegree = 60 * 1000;

// Windows-1251 text as the UTF-8 of a quoted field (a line of the list holds no line break).
std::string FieldText(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (c == '"') c = '\'';
        if (c >= 0 && c < 0x20) c = ' ';
    }
    return Utf8FromWindows1251(field);
}

std::string CodeText(std::string_view name) {
    std::string code(name);
    ReplaceByte(code, ' ', '_');
    code = LatinText(code, false);
    ReplaceByte(code, '"', '\'');
    return code;
}

void AppendQuoted(std::string& line, std::string_view field) {
    line += '"';
    line += field;
    line += '"';
}

// "4357.672N": whole degrees by `degreePattern`, then the minutes rounded
// to a thousandth (59.9996 minutes make the next degree).
void AppendAngle(std::string& line, double value, std::string_view degreePattern, char positive,
                 char negative) {
    const long long thousandths = std::llround(std::fabs(value) * kThousandthsPerDegree);
    AppendWithPattern(line, static_cast<double>(thousandths / kThousandthsPerDegree),
                      degreePattern);
    const long long minuteThousandths = thousandths % kThousandthsPerDegree;
    AppendWithPattern(line, static_cast<double>(minuteThousandths / 1000), "00");
    line += '.';
    AppendWithPattern(line, static_cast<double>(minuteThousandths % 1000), "000");
    line += value < 0 && thousandths != 0 ? negative : positive;
}

// The description cut so that the line, with it and its quotes, fits.
std::string DescriptionField(const PointRecord& record, std::size_t lineBytes) {
    const std::string field = FieldText(TrimView(FirstCommentLine(record)));
    const std::size_t room = kMaxLineBytes - std::min(kMaxLineBytes, lineBytes + 2);
    return std::string(TrimView(std::string_view(field).substr(0, FittingUtf8(field, room))));
}

}  // namespace

std::string CupName(std::string_view name) {
    const std::string field = FieldText(name);
    return std::string(
        TrimView(std::string_view(field).substr(0, FittingUtf8(field, kCupNameBytes))));
}

void WriteCupWaypoints(ConversionContext& context) {
    UniqueNames names(kCupNameBytes, " ", FittingUtf8);
    UniqueNames codes(kMaxCodeLength, "", FittingBytes);
    std::string line;
    WriteWaypointFile(context, {kHeader}, [&](const ExportPoint& point, TextOutput& out) {
        const std::string name = names.Take(FieldText(point.name));
        line.clear();
        AppendQuoted(line, name);
        line += ',';
        AppendQuoted(line, codes.Take(CodeText(Windows1251FromUtf8(name))));
        line += ",,";
        AppendAngle(line, point.position.lat, "00", 'N', 'S');
        line += ',';
        AppendAngle(line, point.position.lon, "000", 'E', 'W');
        line += ',';
        if (point.position.altitude) line += std::to_string(*point.position.altitude) + 'm';
        line += ",1,,,,";
        AppendQuoted(line, DescriptionField(point.record, line.size()));
        out.WriteLine(line);
    });
}

}  // namespace oradel
