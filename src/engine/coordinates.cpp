#include "engine/coordinates.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/decimal_numbers.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// A Russian keyboard's numeric pad types a comma: it stands for the point.
bool ReadDegrees(std::string_view text, double limit, std::string& pointText, double& degrees) {
    pointText.assign(TrimView(text));
    std::replace(pointText.begin(), pointText.end(), ',', '.');
    const std::optional<double> value = ParseDecimal(pointText);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > limit) return false;
    degrees = *value;
    return true;
}

}  // namespace

bool ReadPosition(std::string_view latText, std::string_view lonText, Position& position) {
    return ReadDegrees(latText, 90, position.latText, position.lat) &&
           ReadDegrees(lonText, 180, position.lonText, position.lon);
}

}  // namespace oradel
