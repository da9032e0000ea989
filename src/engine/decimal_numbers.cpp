#include "engine/decimal_numbers.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <system_error>

namespace oradel {
namespace {

constexpr std::int64_t kExponentCap = 1'000'000;  // far beyond any double's range
constexpr int kMaxDecimals = 18;
// The longest fixed text of a double: 309 whole digits, the point, the decimals.
constexpr std::size_t kMaxFixedLength = 309 + 1 + kMaxDecimals;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips a run of digits from `i`; `firstSignificant` turns true at the first
// digit other than 0, and `counted` grows by one for each digit that stands
// after it (`afterSignificant`) or before it (otherwise).
bool SkipDigits(std::string_view text, std::size_t& i, bool& firstSignificant,
                std::int64_t& counted, bool afterSignificant) {
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (text[i] != '0') firstSignificant = true;
        if (firstSignificant == afterSignificant) ++counted;
    }
    return i != start;
}

// Reads an optional exponent at `i`; false when an "E" has no digits.
bool ReadExponent(std::string_view text, std::size_t& i, std::int64_t& exponent) {
    exponent = 0;
    if (i == text.size() || (text[i] != 'e' && text[i] != 'E')) return true;
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentCap);
    }
    if (negative) exponent = -exponent;
    return i != start;
}

// Checks an unsigned number text ("12.5e3") and gives its magnitude: the
// number of whole digits its value has, zero or less for a value below 1. It
// tells an overflow from an underflow when the value does not fit a double.
bool CheckNumberShape(std::string_view text, std::int64_t& magnitude) {
    std::size_t i = 0;
    bool significant = false;
    std::int64_t wholeDigits = 0;   // significant digits before the point
    std::int64_t leadingZeros = 0;  // zeros after the point before the first significant digit
    bool anyDigit = SkipDigits(text, i, significant, wholeDigits, true);
    if (i < text.size() && text[i] == '.') {
        ++i;
        anyDigit |= SkipDigits(text, i, significant, leadingZeros, false);
    }
    std::int64_t exponent = 0;
    if (!anyDigit || !ReadExponent(text, i, exponent) || i != text.size()) return false;
    magnitude = (wholeDigits > 0 ? wholeDigits : -leadingZeros) + exponent;
    return true;
}

struct DigitPattern {
    std::size_t wholeDigits;
    int decimals;
};

DigitPattern ReadPattern(std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    const std::string_view whole = pattern.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const auto onlyZeros = [](std::string_view s) {
        return s.find_first_not_of('0') == std::string_view::npos;
    };
    if (pattern.empty() || !onlyZeros(whole) || !onlyZeros(fraction) ||
        fraction.size() > kMaxDecimals) {
        throw std::invalid_argument("unsupported number pattern: " + std::string(pattern));
    }
    return {whole.size(), static_cast<int>(fraction.size())};
}

// `magnitude` (not negative, finite) as fixed-point text with `decimals` decimals.
std::string_view FixedText(double magnitude, int decimals,
                           std::array<char, kMaxFixedLength + 1>& buffer) {
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) throw std::logic_error("number text longer than a double's");
    return {buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data())};
}

}  // namespace

// "  -44.5  ", "+1.5e-3", ".5", "5."
std::optional<double> ParseDecimal(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return std::nullopt;
    text = text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t magnitude = 0;
    if (!CheckNumberShape(text, magnitude)) return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0) return std::nullopt;  // too large for a double
        value = 0;                               // too small: it reads as zero
    } else if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

// to_chars rounds the exact binary value to nearest. Only where that value is
// exactly halfway (0.125 to two decimals) does it round to even ("0.12") where
// rounding the decimal text half away from zero would give "0.13"; such
// coordinates and seconds do not come from real surveys.
void AppendWithPattern(std::string& out, double value, std::string_view pattern) {
    const DigitPattern digits = ReadPattern(pattern);
    if (std::isnan(value)) {
        out += "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return;
    }
    std::array<char, kMaxFixedLength + 1> buffer;
    const std::string_view text = FixedText(std::fabs(value), digits.decimals, buffer);
    const std::size_t point = std::min(text.find('.'), text.size());
    std::string_view whole = text.substr(0, point);
    if (value < 0 && text.find_first_not_of("0.") != std::string_view::npos) out += '-';
    if (whole == "0" && digits.wholeDigits == 0) whole = {};  // ".50" for the pattern ".00"
    if (whole.size() < digits.wholeDigits) out.append(digits.wholeDigits - whole.size(), '0');
    out += whole;
    out += text.substr(point);
}

std::string FormatWithPattern(double value, std::string_view pattern) {
    std::string text;
    AppendWithPattern(text, value, pattern);
    return text;
}

}  // namespace oradel
