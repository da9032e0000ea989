// The points of the list as the exports take them: each record with its place
// in the list and its coordinates read by the one rule (coordinates.hpp).
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"
#include "engine/coordinates.hpp"
#include "engine/point_list_reader.hpp"

namespace oradel {

struct ExportPoint {
    PointRecord record;
    std::size_t recordNumber = 0;  // from 1, in list order
    bool readable = false;         // `position` holds the point's coordinates
    Position position;
    std::string name;  // NextWaypoint only: see there
};

class ExportPointReader {
  public:
    explicit ExportPointReader(ConversionContext& context)
        : reader_(context.input), state_(context.state) {}

    // The next record, whatever its coordinates; one whose coordinates cannot
    // be read goes to the job's leftOutPoints. False when the list is over.
    bool NextRecord(ExportPoint& point);
    // The next point whose coordinates can be read, for a waypoint file, with
    // its name line without the filter tag, trimmed; when that leaves nothing,
    // UnnamedPointName counting such points among those written.
    bool NextWaypoint(ExportPoint& point);
    // Gives a point read by NextRecord whose coordinates can be read the name
    // NextWaypoint would give it.
    void NameWaypoint(ExportPoint& point);

  private:
    PointListReader reader_;
    JobState& state_;
    std::size_t records_ = 0;
    unsigned unnamedPoints_ = 0;
};

// The line after the coordinate line, as the waypoint files take it: the
// first comment or, without one, the blank line that closed the record.
const std::string& FirstCommentLine(const PointRecord& record);

// Text in plain ASCII for a device that shows Latin letters only:
// transliterated, trimmed when asked, then every byte outside printable
// ASCII (control characters, letters no table holds) made "_".
std::string LatinText(std::string_view text, bool trim);

// What every waypoint file shares: its header lines, then one call of
// `writePoint` for each point whose coordinates can be read, in list order.
using WaypointWriter = std::function<void(const ExportPoint& point, TextOutput& out)>;
void WriteWaypointFile(ConversionContext& context, std::initializer_list<std::string_view> header,
                       const WaypointWriter& writePoint);

// For a file that groups its points by the list's sections: reads the list to
// its end and calls `openSection` for each heading in list order (a heading
// before a point left out included, as its section goes on after it) and
// `writePoint` for each point whose coordinates can be read, named as
// NextWaypoint names it. Memory stays within one record.
using SectionWriter = std::function<void(const std::string& heading, TextOutput& out)>;
void WriteSectionedWaypoints(ConversionContext& context, const SectionWriter& openSection,
                             const WaypointWriter& writePoint);

}  // namespace oradel
