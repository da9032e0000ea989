// Mode 15: the waypoint export of Navitel Navigator (GPX) as a point list.
#pragma once

#include <string>

#include "engine/conversion_modes.hpp"

namespace oradel {

void ImportNavitelGpx(ConversionContext& context);

// The made-up name of the `number`th point (from 1) that has none: WPT001,
// WPT002, ... A blank name line would make the list read the coordinates as
// the name and shift every line of the point.
std::string NamelessPointName(unsigned number);

}  // namespace oradel
