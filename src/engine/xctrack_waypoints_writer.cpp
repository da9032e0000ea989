#include "engine/xctrack_waypoints_writer.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "engine/decimal_numbers.hpp"
#include "engine/export_points.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// `value` lies from 0 to 180: the export reads only coordinates in range.
void AppendDms(std::string& out, double value, std::string_view degreePattern) {
    const auto degrees = static_cast<std::int32_t>(value);
    AppendWithPattern(out, degrees, degreePattern);
    const double fraction = value - degrees;
    const double minutesExact = fraction * 60;
    const auto minutes = static_cast<int>(minutesExact);
    std::array<char, 16> digits;
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), minutes).ptr;
    out += ' ';
    out.append(digits.data(), end);
    out += ' ';
    const double seconds = (fraction - minutes / 60.0) * 3600;
    AppendWithPattern(out, seconds, "00.00");
}

// "    N 55 17 60.00" or, below zero, "    S " and the absolute value.
void AppendCoordinate(std::string& out, double value, std::string_view positiveLetter,
                      std::string_view negativeLetter, std::string_view degreePattern) {
    out += value < 0 ? negativeLetter : positiveLetter;
    AppendDms(out, std::fabs(value), degreePattern);
}

}  // namespace

std::string XCTrackName(std::string_view name) {
    std::string piece(name);
    CollapseRuns(piece, ' ');
    ReplaceByte(piece, ' ', '_');
    return piece;
}

// $FormatGEO
// Лысая_гора    N 55 17 60.00    E 037 30 00.00   0  старт
void WriteXCTrackWaypoints(ConversionContext& context) {
    std::string line;  // composed in Windows-1251
    WriteWaypointFile(context, {"$FormatGEO"}, [&line](const ExportPoint& point, TextOutput& out) {
        line.clear();
        line += XCTrackName(point.name);
        AppendCoordinate(line, point.position.lat, "    N ", "    S ", "00");
        AppendCoordinate(line, point.position.lon, "    E ", "    W ", "000");
        // Whole metres; 0 stands for no altitude.
        line += "   " + std::to_string(point.position.altitude.value_or(0)) + "  ";
        const PointRecord& record = point.record;
        if (!record.comments.empty()) line += TrimView(record.comments.front());
        out.WriteLine(Utf8FromWindows1251(line));
    });
}

}  // namespace oradel
