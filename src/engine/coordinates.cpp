#include "engine/coordinates.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/decimal_numbers.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// Far below any device's resolution (1e-13 degrees is well under a millimetre).
constexpr int kPlainDecimals = 13;

// A Russian keyboard's numeric pad types a comma: it stands for the point.
bool ReadDegrees(std::string_view text, double limit, std::string& pointText, double& degrees) {
    pointText.assign(TrimView(text));
    std::replace(pointText.begin(), pointText.end(), ',', '.');
    const std::optional<double> value = ParseDecimal(pointText);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > limit) return false;
    degrees = *value;
    if (pointText.find_first_of("eE") != std::string::npos) {
        pointText = PlainDecimal(degrees, kPlainDecimals);
    }
    return true;
}

}  // namespace

std::string PlainDecimal(double value, int decimals) {
    const std::string pattern =
        decimals > 0 ? "0." + std::string(static_cast<std::size_t>(decimals), '0') : "0";
    std::string text = FormatWithPattern(value, pattern);
    if (text.find('.') != std::string::npos) {
        text.resize(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

bool ReadPosition(std::string_view latText, std::string_view lonText, Position& position) {
    return ReadDegrees(latText, 90, position.latText, position.lat) &&
           ReadDegrees(lonText, 180, position.lonText, position.lon);
}

}  // namespace oradel
