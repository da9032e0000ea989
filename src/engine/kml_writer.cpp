// <?xml version="1.0" encoding="UTF-8"?>
// <kml xmlns="http://www.opengis.net/kml/2.2">
// <Document>
//   <name>sites</name>
//   <Folder>
//     <name>Кавказ</name>
//     <Placemark>
//       <name>Юца</name>
//       <description><![CDATA[Старт на южном склоне<br><a href="https://example.org" ...
//       <Point>
//         <altitudeMode>clampToGround</altitudeMode>
//         <coordinates>42.9845,43.9612,1850</coordinates>
//       </Point>
//     </Placemark>
//   </Folder>
// </Document>
// </kml>
//
// The description is HTML, as Google Earth shows it: the comment lines as the
// list author wrote them (their own tags kept, as on the web page), joined by
// "<br>", in one CDATA section. A tuple of coordinates holds no blanks, which
// Google Earth and GPSBabel both require.
#include "engine/kml_writer.hpp"

#include "engine/export_points.hpp"
#include "engine/xml_text.hpp"
#include "text/markup.hpp"

namespace oradel {
namespace {

constexpr std::string_view kKmlStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
    "<Document>\n";

// Writes the comment lines, markup expanded, in pieces: the expansion of a
// hostile line can be thirty times longer than the line and is never held whole.
void WriteDescription(TextOutput& out, const PointRecord& record, std::string_view indent,
                      std::string& text) {
    if (record.comments.empty()) return;
    CdataText cdata;
    const auto writePiece = [&out, &cdata, &text](std::string_view piece) {
        text.clear();
        cdata.Append(text, piece);
        out.Write(text);
    };
    text.assign(indent);
    text += "  <description><![CDATA[";
    out.Write(text);
    for (std::size_t i = 0; i < record.comments.size(); ++i) {
        if (i > 0) writePiece("<br>");
        ExpandLinkMarkup(record.comments[i], writePiece);
    }
    out.Write("]]></description>\n");
}

void WritePlacemark(TextOutput& out, const ExportPoint& point, std::string_view indent,
                    std::string& text) {
    text.assign(indent);
    text += "<Placemark>\n";
    text += indent;
    text += "  <name>";
    AppendXmlName(text, point.name);
    text += "</name>\n";
    out.Write(text);
    WriteDescription(out, point.record, indent, text);
    const Position& position = point.position;
    text.assign(indent);
    text += "  <Point>\n";
    text += indent;
    text += "    <altitudeMode>clampToGround</altitudeMode>\n";
    text += indent;
    text += "    <coordinates>" + position.lonText + ',' + position.latText;
    if (position.altitude) text += ',' + std::to_string(*position.altitude);
    text += "</coordinates>\n";
    text += indent;
    text += "  </Point>\n";
    text += indent;
    text += "</Placemark>\n";
    out.Write(text);
}

}  // namespace

void WriteKmlPlacemarks(ConversionContext& context) {
    std::string text(kKmlStart);
    text += "  <name>" + XmlListName(context.inputPath) + "</name>\n";
    context.output.Write(text);
    bool inFolder = false;
    WriteSectionedWaypoints(
        context,
        [&text, &inFolder](const std::string& heading, TextOutput& out) {
            text.assign(inFolder ? "  </Folder>\n" : "");
            text += "  <Folder>\n    <name>";
            AppendXmlText(text, heading);
            text += "</name>\n";
            out.Write(text);
            inFolder = true;
        },
        [&text, &inFolder](const ExportPoint& point, TextOutput& out) {
            WritePlacemark(out, point, inFolder ? "    " : "  ", text);
        });
    if (inFolder) context.output.Write("  </Folder>\n");
    context.output.Write("</Document>\n</kml>\n");
}

}  // namespace oradel
