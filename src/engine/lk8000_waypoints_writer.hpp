// Mode 5: the point list as a waypoint file for the LK8000 glide computer
// (CompeGPS-style text, Windows-1251, Latin names).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"

namespace oradel {

// What LK8000 keeps of a point: this many characters of its name and this
// many bytes of its comment.
inline constexpr std::size_t kLK8000NameLength = 16;
inline constexpr std::size_t kLK8000CommentLength = 499;

void WriteLK8000Waypoints(ConversionContext& context);

// A name as the file writes it before names that the cut makes equal are
// numbered: transliterated, blanks made "_", any byte that is not plain
// ASCII made "_", cut to kLK8000NameLength characters.
std::string LK8000Name(std::string_view name);

}  // namespace oradel
