// Mode 2: the point list as a GEO waypoint file ("$FormatGEO", UTF-8) for XCTrack.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes one line per point whose coordinates can be read (ExportPointReader);
// the points left out go to context.state.leftOutPoints. Coordinates are
// degrees, minutes and seconds: "55 17 60.00" for 55.3, "037 37 06.32" for
// 37.618423; degrees and minutes are truncated and the seconds rounded to
// hundredths without carrying, so they can read 60.00 (as the files of old).
void WriteXCTrackWaypoints(ConversionContext& context);

// A name as the file writes it (Windows-1251): each run of spaces one "_".
std::string XCTrackName(std::string_view name);

}  // namespace oradel
