// <?xml version="1.0" encoding="UTF-8"?>
// <gpx version="1.1" creator="Oradel" xmlns="http://www.topografix.com/GPX/1/1" ...>
// <metadata>
//   <name>sites</name>
// </metadata>
// <wpt lat="43.9612" lon="42.9845">
//   <ele>1850</ele>
//   <name>Юца</name>
//   <desc>Старт на южном склоне
// [https://example.org|Сайт]</desc>
//   <type>Кавказ</type>
// </wpt>
// </gpx>
//
// The elements of a wpt stand in the order the GPX 1.1 schema requires (ele,
// name, desc, type). A heading stands for every point after it up to the
// next heading, as on the web page; points before the first heading have no
// type, nor do those under an empty heading (a line ":").
#include "engine/gpx_waypoints_writer.hpp"

#include "engine/export_points.hpp"
#include "engine/xml_text.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

constexpr std::string_view kGpxStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Oradel\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";

// The schema's longitudes run from -180 up to but not including 180: the
// same meridian as 180 is written -180.
std::string_view GpxLongitude(const Position& position) {
    return position.lon == 180 ? "-180" : std::string_view(position.lonText);
}

// Every comment line trimmed, one line each.
void AppendDescription(std::string& out, const PointRecord& record) {
    if (record.comments.empty()) return;
    out += "  <desc>";
    for (std::size_t i = 0; i < record.comments.size(); ++i) {
        if (i > 0) out += '\n';
        AppendXmlText(out, TrimView(record.comments[i]));
    }
    out += "</desc>\n";
}

void AppendWaypoint(std::string& out, const ExportPoint& point, std::string_view section) {
    out += "<wpt lat=\"";
    out += point.position.latText;  // plain decimals, which need no escaping
    out += "\" lon=\"";
    out += GpxLongitude(point.position);
    out += "\">\n";
    if (point.position.altitude) {
        out += "  <ele>" + std::to_string(*point.position.altitude) + "</ele>\n";
    }
    out += "  <name>";
    AppendXmlName(out, point.name);
    out += "</name>\n";
    AppendDescription(out, point.record);
    if (!section.empty()) {
        out += "  <type>";
        AppendXmlText(out, section);
        out += "</type>\n";
    }
    out += "</wpt>\n";
}

}  // namespace

void WriteGpxWaypoints(ConversionContext& context) {
    std::string text(kGpxStart);
    text += "<metadata>\n  <name>" + XmlListName(context.inputPath) + "</name>\n</metadata>\n";
    context.output.Write(text);
    std::string section;
    WriteSectionedWaypoints(
        context, [&section](const std::string& heading, TextOutput&) { section = heading; },
        [&text, &section](const ExportPoint& point, TextOutput& out) {
            text.clear();
            AppendWaypoint(text, point, section);
            out.Write(text);
        });
    context.output.Write("</gpx>\n");
}

}  // namespace oradel
