// Mode 6: the point list as a SeeYou CUP waypoint file, which XCSoar,
// LK8000, SeeYou Navigator and Oudie read (UTF-8, CR LF).
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

void WriteCupWaypoints(ConversionContext& context);

}  // namespace oradel
