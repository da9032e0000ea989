// Mode 3: the point list as an OziExplorer waypoint file for Navitel Navigator.
#pragma once

#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

void WriteNavitelWaypoints(ConversionContext& context);

// A name (or the description) as the file writes it: a comma (which would
// start a new field) a space, each run of spaces one space; not trimmed.
std::string NavitelName(std::string_view name);

}  // namespace oradel
