// Mode 4: the point list as one self-contained web page for a phone, tablet
// or PC, with weather, map and terrain links for every point.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes the whole page. With the filter option set it reads the list twice:
// the filter buttons at the top need every name's filter words.
void WriteWebPage(ConversionContext& context);

}  // namespace oradel
