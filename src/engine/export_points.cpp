#include "engine/export_points.hpp"

#include "text/markup.hpp"

namespace oradel {

bool ExportPointReader::NextRecord(ExportPoint& point) {
    if (!reader_.Next(point.record)) return false;
    point.recordNumber = ++records_;
    point.readable = ReadPosition(point.record.latText, point.record.lonText, point.position);
    if (!point.readable) state_.leftOutPoints.push_back({point.recordNumber, point.record.name});
    return true;
}

bool ExportPointReader::NextWaypoint(ExportPoint& point) {
    while (NextRecord(point)) {
        if (!point.readable) continue;
        point.name = StripFilterTag(point.record.name);
        if (point.name.empty()) point.name = UnnamedPointName(++unnamedPoints_);
        return true;
    }
    return false;
}

}  // namespace oradel
