// The one rule by which every export reads a point's coordinates.
#pragma once

#include <optional>
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
    // Whole metres, when the coordinate line gives an altitude after the longitude.
    std::optional<long> altitude;
};

// `value` in fixed notation with at most `decimals` decimals and no trailing
// zeros: "43.5", "-0.25", "7".
std::string PlainDecimal(double value, int decimals);

// Reads the latitude and longitude texts of a point ("43,9612" reads as
// 43.9612); the longitude's text may go on with the altitude: a number in
// metres, optionally followed by "m" or "м", or in feet followed by "ft"
// ("42.9845 1850", "42.9845 6070ft"), kept as whole metres. False when a
// coordinate is not a finite decimal number (ParseDecimal), the latitude lies
// outside -90..90 or the longitude outside -180..180, or anything else
// follows the longitude; `position` is then left partly filled. It may be
// reused from point to point.
bool ReadPosition(std::string_view latText, std::string_view lonText, Position& position);

// An altitude as the coordinate line writes it: a number, optionally with a
// unit (see ReadPosition); nullopt for any other text.
std::optional<long> ReadAltitude(std::string_view text);

// Feet in whole metres, and whole metres in feet, rounded.
long MetresFromFeet(double feet);
long FeetFromMetres(long metres);

}  // namespace oradel
