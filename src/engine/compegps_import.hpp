// Mode 1 for an LK8000 (CompeGPS) waypoint file: its points as a point list.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Reads the "W" lines of a CompeGPS file in latitude and longitude ("U  1");
// a file in UTM ("U  0") or a "W" line that does not read throws UserError.
void ImportCompeGpsWaypoints(ConversionContext& context);

}  // namespace oradel
