// Mode 6: the point list as a SeeYou CUP waypoint file, which XCSoar,
// LK8000, SeeYou Navigator and Oudie read (UTF-8, CR LF).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

void WriteCupWaypoints(ConversionContext& context);

// What the file keeps of a name: this many bytes of its UTF-8.
inline constexpr std::size_t kCupNameBytes = 30;
// A name as the file writes it before names that the cut makes equal are
// numbered: UTF-8, a quote made "'", cut to kCupNameBytes on a character
// boundary, blanks at the cut's end dropped.
std::string CupName(std::string_view name);

}  // namespace oradel
