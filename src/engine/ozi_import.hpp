// Mode 1 for an OziExplorer waypoint file: its points as a point list.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Reads the point lines after the four header lines; a line whose
// coordinates do not read throws UserError.
void ImportOziWaypoints(ConversionContext& context);

}  // namespace oradel
