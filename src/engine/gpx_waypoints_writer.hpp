// Mode 7: the point list as GPX 1.1 waypoints (UTF-8, LF) for OsmAnd, phones,
// car navigators and Google My Maps.
#pragma once

#include "engine/conversion_modes.hpp"

namespace oradel {

// Writes one `wpt` per point whose coordinates can be read (ExportPointReader):
// the coordinates as the list gives them (a longitude of 180 as -180, which
// the schema takes), the altitude in whole metres when the list has one, the
// name, every comment line trimmed as the description (markup as written)
// and the heading of the point's section as its type. The points left out go
// to context.state.leftOutPoints.
void WriteGpxWaypoints(ConversionContext& context);

}  // namespace oradel
