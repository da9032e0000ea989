// Mode 3: the point list as an OziExplorer waypoint file for Navitel Navigator.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

void WriteNavitelWaypoints(ConversionContext& context);

}  // namespace oradel
