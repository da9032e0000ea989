#include "engine/export_points.hpp"

#include "text/markup.hpp"
#include "text/strings.hpp"

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
        NameWaypoint(point);
        return true;
    }
    return false;
}

void ExportPointReader::NameWaypoint(ExportPoint& point) {
    point.name = StripFilterTag(point.record.name);
    if (point.name.empty()) point.name = UnnamedPointName(++unnamedPoints_);
}

const std::string& FirstCommentLine(const PointRecord& record) {
    return record.comments.empty() ? record.closingLine : record.comments.front();
}

std::string LatinText(std::string_view text, bool trim) {
    const std::string latin = Transliterate(text);
    std::string ascii(trim ? TrimView(latin) : std::string_view(latin));
    for (char& c : ascii) {
        if (c < 0x20 || c > 0x7E) c = '_';
    }
    return ascii;
}

void WriteWaypointFile(ConversionContext& context, std::initializer_list<std::string_view> header,
                       const WaypointWriter& writePoint) {
    for (const std::string_view line : header) context.output.WriteLine(line);
    ExportPointReader reader(context);
    ExportPoint point;
    while (reader.NextWaypoint(point)) writePoint(point, context.output);
}

void WriteSectionedWaypoints(ConversionContext& context, const SectionWriter& openSection,
                             const WaypointWriter& writePoint) {
    ExportPointReader reader(context);
    ExportPoint point;
    while (reader.NextRecord(point)) {
        for (const std::string& heading : point.record.headings) {
            openSection(heading, context.output);
        }
        if (!point.readable) continue;
        reader.NameWaypoint(point);
        writePoint(point, context.output);
    }
}

}  // namespace oradel
