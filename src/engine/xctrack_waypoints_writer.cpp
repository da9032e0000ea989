#include "engine/xctrack_waypoints_writer.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

#include "engine/decimal_numbers.hpp"
#include "engine/point_list_reader.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
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

// A coordinate of the list as a number, or nullopt when it cannot be written.
// The file holds the absolute value after a hemisphere letter, so that is what
// must fit: -2147483648.5 fits a 32-bit integer's range, its absolute value not.
std::optional<double> ReadCoordinate(std::string_view text) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value || !WholePartFitsInt32(std::fabs(*value))) return std::nullopt;
    return value;
}

// "    N 55 17 60.00" or, below zero, "    S " and the absolute value.
void AppendCoordinate(std::string& out, double value, std::string_view positiveLetter,
                      std::string_view negativeLetter, std::string_view degreePattern) {
    out += value < 0 ? negativeLetter : positiveLetter;
    AppendDms(out, std::fabs(value), degreePattern);
}

// The name without its filter tag, trimmed, each run of spaces one underscore.
void AppendNamePiece(std::string& out, std::string_view name) {
    std::string piece = StripFilterTag(name);
    ReplaceAll(piece, "  ", " ");
    ReplaceAll(piece, " ", "_");
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
    PointListReader reader(context.input);
    PointRecord point;
    std::string line;  // composed in Windows-1251
    while (reader.Next(point)) {
        const std::optional<double> latitude = ReadCoordinate(point.latText);
        const std::optional<double> longitude = ReadCoordinate(point.lonText);
        if (!latitude || !longitude) {
            context.state.leftOutPoints.push_back(point.name);
            continue;
        }
        line.clear();
        AppendNamePiece(line, point.name);
        AppendCoordinate(line, *latitude, "    N ", "    S ", "00");
        AppendCoordinate(line, *longitude, "    E ", "    W ", "000");
        line += "   0  ";
        if (!point.comments.empty()) line += TrimView(point.comments.front());
        out.WriteLine(Utf8FromCp1251(line));
    }
}

}  // namespace oradel
