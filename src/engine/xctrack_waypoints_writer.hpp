// Mode 2: the point list as a GEO waypoint file ("$FormatGEO", UTF-8) for XCTrack.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes one line per point whose coordinates can be read (ExportPointReader);
// the points left out go to context.state.leftOutPoints.
void WriteXCTrackWaypoints(ConversionContext& context);

// Degrees, minutes and seconds: "55 17 60.00" for 55.3 with the degree pattern
// "00", "037 37 06.32" for 37.618423 with "000". Degrees and minutes are
// truncated and the seconds rounded to hundredths without carrying, so they can
// read 60.00. A negative value puts its sign on each of the three numbers. The
// whole part of `value` must fit a 32-bit signed integer (std::out_of_range).
std::string FormatDms(double value, std::string_view degreePattern);

}  // namespace oradel
