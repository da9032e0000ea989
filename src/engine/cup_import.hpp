// Mode 16: a SeeYou CUP waypoint file as a point list.
#pragma once

#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes one record per waypoint line: name, coordinates (and the altitude
// when the line gives one), description. A line whose latitude or longitude
// does not read throws UserError with its line number.
void ImportCupWaypoints(ConversionContext& context);

// True for a CUP header line: one of its fields, in any letter case, is
// "lat" (or "latitude", as some competition sites write it).
bool IsCupHeader(std::string_view line);
// True for a CUP waypoint line in the standard order: a quoted name, and a
// latitude and a longitude in the fourth and fifth fields.
bool IsCupPointLine(std::string_view line);

}  // namespace oradel
