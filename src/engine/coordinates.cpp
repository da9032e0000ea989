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

// No device holds an altitude beyond this, and a whole number of metres fits.
constexpr double kHighestAltitude = 1e6;
constexpr double kMetresPerFoot = 0.3048;

struct AltitudeUnit {
    std::string_view name;  // Windows-1251
    double metres;
};
constexpr AltitudeUnit kAltitudeUnits[] = {
    {"m", 1}, {"\xEC", 1}, {"ft", kMetresPerFoot},  // "\xEC": the Cyrillic "м"
};

}  // namespace

std::optional<long> ReadAltitude(std::string_view text) {
    text = TrimView(text);
    double metresPerUnit = 1;
    for (const AltitudeUnit& unit : kAltitudeUnits) {
        if (text.ends_with(unit.name)) {
            text = TrimView(text.substr(0, text.size() - unit.name.size()));
            metresPerUnit = unit.metres;
            break;
        }
    }
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    const std::optional<double> value = ParseDecimal(number);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    const double metres = *value * metresPerUnit;
    if (std::fabs(metres) > kHighestAltitude) return std::nullopt;
    return std::lround(metres);
}

long MetresFromFeet(double feet) {
    return std::lround(feet * kMetresPerFoot);
}

long FeetFromMetres(long metres) {
    return std::lround(static_cast<double>(metres) / kMetresPerFoot);
}

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
    lonText = TrimView(lonText);
    const std::size_t blank = lonText.find_first_of(" \t");
    position.altitude.reset();
    if (blank != std::string_view::npos) {
        position.altitude = ReadAltitude(lonText.substr(blank));
        if (!position.altitude) return false;
        lonText = lonText.substr(0, blank);
    }
    return ReadDegrees(latText, 90, position.latText, position.lat) &&
           ReadDegrees(lonText, 180, position.lonText, position.lon);
}

}  // namespace oradel
