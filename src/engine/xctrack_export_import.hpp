// Mode 1: XCTrack's waypoint export (GEO layout, UTF-8) as a point list.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes four lines per point of the export: name, coordinates in decimal
// degrees, description and an empty separator line. The first line is a point
// unless it is the "$FormatGEO" header. A line whose fields do not read throws
// UserError.
void ImportXCTrackExport(ConversionContext& context);

// Mode 1: any waypoint file the import recognises (GEO, CompeGPS, Ozi) as a
// point list, each read by its own reader.
void ImportWaypointFile(ConversionContext& context);

// True when `line` holds the group of fields of a GEO point line.
bool IsGeoPointLine(std::string_view line);

}  // namespace oradel
