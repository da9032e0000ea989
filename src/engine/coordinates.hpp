// The one rule by which every export reads a point's coordinates.
#pragma once

#include <string>
#include <string_view>

namespace oradel {

// A point's position in decimal degrees, with the texts it was read from.
struct Position {
    double lat = 0;
    double lon = 0;
    // Trimmed, a decimal comma made a point, an exponent form ("4.35e1")
    // written as a plain decimal, which map links and every reader take.
    std::string latText;
    std::string lonText;
};

// `value` in fixed notation with at most `decimals` decimals and no trailing
// zeros: "43.5", "-0.25", "7".
std::string PlainDecimal(double value, int decimals);

// Reads the latitude and longitude texts of a point ("43,9612" reads as
// 43.9612). False when either is not a finite decimal number (ParseDecimal),
// or the latitude lies outside -90..90 or the longitude outside -180..180;
// `position` is then left partly filled. It may be reused from point to point.
bool ReadPosition(std::string_view latText, std::string_view lonText, Position& position);

}  // namespace oradel
