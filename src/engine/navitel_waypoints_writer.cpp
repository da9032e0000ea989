#include "engine/navitel_waypoints_writer.hpp"

#include "engine/export_points.hpp"
#include "text/strings.hpp"

namespace oradel {
std::string NavitelName(std::string_view name) {
    std::string field(name);
    ReplaceByte(field, ',', ' ');
    CollapseRuns(field, ' ');
    return field;
}

// OziExplorer Waypoint File Version 1.0
// WGS 84
// Reserved 2
// Reserved 3
// -1,Гора,55.751244,37.618423, , 0, 1, 3, 0, 65535,старт юг, 0, 0, 0.00000, -777
void WriteNavitelWaypoints(ConversionContext& context) {
    const std::initializer_list<std::string_view> header = {"OziExplorer Waypoint File Version 1.0",
                                                            "WGS 84", "Reserved 2", "Reserved 3"};
    std::string line;
    WriteWaypointFile(context, header, [&line](const ExportPoint& point, TextOutput& out) {
        line = "-1,";
        line += NavitelName(point.name);
        line += ',';
        line += point.position.latText;  // as written, a decimal comma made a point
        line += ',';
        line += point.position.lonText;
        line += ", , 0, 1, 3, 0, 65535,";
        line += NavitelName(FirstCommentLine(point.record));  // the description
        line += ", 0, 0, 0.00000, ";
        // Feet; -777 stands for no altitude.
        line += std::to_string(point.position.altitude ? FeetFromMetres(*point.position.altitude)
                                                       : -777);
        out.WriteLine(line);
    });
}

}  // namespace oradel
