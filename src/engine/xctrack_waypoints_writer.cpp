#include "engine/xctrack_waypoints_writer.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "engine/decimal_numbers.hpp"
#include "engine/export_points.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// True when the value truncated toward zero fits a 32-bit signed integer
// (false for NaN and infinities too).
bool WholePartFitsInt32(double value) {
    constexpr double kBelowMin = static_cast<double>(std::numeric_limits<std::int32_t>::min()) - 1;
    constexpr double kAboveMax = static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 1;
    return value > kBelowMin && value < kAboveMax;
}

void AppendDms(std::string& out, double value, std::string_view degreePattern) {
    if (!WholePartFitsInt32(value)) throw std::out_of_range("degrees beyond a 32-bit integer");
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

// The waypoint's name, each run of spaces one underscore.
void AppendNamePiece(std::string& out, std::string_view name) {
    std::string piece(name);
    CollapseRuns(piece, ' ');
    ReplaceByte(piece, ' ', '_');
    out += piece;
}

}  // namespace

std::string FormatDms(double value, std::string_view degreePattern) {
    std::string text;
    AppendDms(text, value, degreePattern);
    return text;
}

// $FormatGEO
// Лысая_гора    N 55 17 60.00    E 037 30 00.00   0  старт
void WriteXCTrackWaypoints(ConversionContext& context) {
    TextOutput& out = context.output;
    out.WriteLine("$FormatGEO");
    ExportPointReader reader(context);
    ExportPoint point;
    std::string line;  // composed in Windows-1251
    while (reader.NextWaypoint(point)) {
        line.clear();
        AppendNamePiece(line, point.name);
        AppendCoordinate(line, point.position.lat, "    N ", "    S ", "00");
        AppendCoordinate(line, point.position.lon, "    E ", "    W ", "000");
        line += "   0  ";
        const PointRecord& record = point.record;
        if (!record.comments.empty()) line += TrimView(record.comments.front());
        out.WriteLine(Utf8FromCp1251(line));
    }
}

}  // namespace oradel
