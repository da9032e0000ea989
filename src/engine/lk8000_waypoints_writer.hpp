// Mode 5: the point list as a waypoint file for the LK8000 glide computer
// (CompeGPS-style text, Windows-1251, Latin names).
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

void WriteLK8000Waypoints(ConversionContext& context);

}  // namespace oradel
