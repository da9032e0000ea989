// Mode 4: the point list as one self-contained web page for a phone, tablet
// or PC, with weather, map and terrain links for every point.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes the whole page. With the filter option set the page holds the placeholder line
// of the filter buttons and the filter words are collected in the job state.
void WriteWebPage(ConversionContext& context);

// Copies the pending page into the final page, writing one filter button per
// collected word in place of every placeholder line.
void FinishWebPage(TextInput& pending, TextOutput& page, const JobState& state);

}  // namespace oradel
