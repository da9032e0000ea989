// What a file holds, told by its first bytes rather than by its name, as the
// devices' own readers tell their formats apart: a .wpt may be a GEO, a
// CompeGPS or an OziExplorer file, and a .txt may be any of them (or CUP).
#pragma once

#include <filesystem>
#include <string_view>

#include "engine/messages.hpp"

namespace oradel {

enum class FileFormat {
    Empty,              // no text at all
    Unknown,            // only blanks as far as recognition looks, in a longer file
    PointList,          // headings, a name, then a line of two coordinates
    PlainText,          // text of no format here: a point list, or a file to read by its name
    GeoWaypoints,       // XCTrack's GEO text: "$FormatGEO" or a GEO point line
    CompeGpsWaypoints,  // "G  WGS 84", then "U  1" or "U  0", or "W" lines (LK8000)
    OziWaypoints,       // "OziExplorer Waypoint File"
    CupWaypoints,       // SeeYou CUP: a header with a "lat" column, or a CUP point line
    Gpx,                // XML with a <gpx> element
    OtherXml,           // XML of another kind
    Utf16Text,          // a UTF-16 byte-order mark
    Binary,             // a NUL byte: no text file
};

// The bytes that RecogniseFormat looks at.
inline constexpr std::size_t kRecognisedBytes = 4096;

// The format of a file that starts with `head` (its first kRecognisedBytes
// bytes, or all of a shorter file).
FileFormat RecogniseFormat(std::string_view head);

// How a message names the format ("an LK8000 (CompeGPS) waypoint file").
Message FormatName(FileFormat format);

}  // namespace oradel
