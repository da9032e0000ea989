// Mode 15: the waypoint export of Navitel Navigator (GPX) as a point list.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

void ImportNavitelGpx(ConversionContext& context);

}  // namespace oradel
