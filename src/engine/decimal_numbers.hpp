// Decimal numbers as the waypoint files hold them: always with a point as the
// decimal separator, whatever the process's locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace oradel {

// Reads "  -12.5e3 ": optional spaces around, an optional sign "+" or "-",
// digits with at most one "." as the decimal point (at least one digit), and an
// optional exponent (E or e, an optional sign, digits). Anything else, an
// empty text and a decimal comma included, gives nullopt, as does a value too
// large for a double; a value too small for one reads as zero.
std::optional<double> ParseDecimal(std::string_view text);

// Formats `value` by a digit pattern of "0"s with an optional "." ("00.000000",
// "00.00", "000"): the zeros before the point are the least number of whole
// digits written (leading zeros fill up), those after it the exact number of
// decimals, rounded to nearest. A value that rounds to zero has no minus sign;
// infinities and NaN give "INF", "-INF" and "NAN". Any other pattern character,
// or more than 18 decimals, throws std::invalid_argument.
std::string FormatWithPattern(double value, std::string_view pattern);
// The same, appended to `out`, so that a loop can reuse one string.
void AppendWithPattern(std::string& out, double value, std::string_view pattern);

}  // namespace oradel
