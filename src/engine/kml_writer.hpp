// Mode 8: the point list as KML 2.2 placemarks (UTF-8, LF) for Google Earth.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes one Document named after the list, a Folder per heading holding the
// points up to the next heading (the points before the first heading stand
// in the Document itself), and a Placemark per point whose coordinates can
// be read (ExportPointReader): its name, every comment line as the
// description, its markup expanded to links as on the web page, and the
// coordinates as longitude,latitude[,altitude]. The points left out go to
// context.state.leftOutPoints.
void WriteKmlPlacemarks(ConversionContext& context);

}  // namespace oradel
