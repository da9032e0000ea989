#include "engine/conversion_modes.hpp"

#include <array>

#include "engine/conversion_job.hpp"
#include "engine/files.hpp"
#include "engine/lk8000_waypoints_writer.hpp"
#include "engine/navitel_gpx_import.hpp"
#include "engine/navitel_waypoints_writer.hpp"
#include "engine/web_page_writer.hpp"
#include "engine/xctrack_export_import.hpp"
#include "engine/xctrack_waypoints_writer.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

using enum InputKind;

using O = Options;
// Mode, option, input, output extension and suffix, pending-file option, body, finishing pass.
constexpr std::array<ConversionMode, 6> kModes = {{
    {1, &O::importXCTrackExport, XCTrackExport, ".txt", "", nullptr, ImportXCTrackExport, nullptr},
    {15, &O::importNavitelGpx, NavitelGpx, ".txt", "_nav", nullptr, ImportNavitelGpx, nullptr},
    {2, &O::writeXCTrackWaypoints, PointList, ".wpt", "", nullptr, WriteXCTrackWaypoints, nullptr},
    {3, &O::writeNavitelWaypoints, PointList, ".wpt", "_nav", nullptr, WriteNavitelWaypoints,
     nullptr},
    {4, &O::writeWebPage, PointList, ".htm", "", &PageOptions::filter, WriteWebPage, FinishWebPage},
    {5, &O::writeLK8000Waypoints, PointList, ".wpt", "_lk8", nullptr, WriteLK8000Waypoints,
     nullptr},
}};

}  // namespace

std::span<const ConversionMode> ConversionModes() {
    return kModes;
}

const ConversionMode* FindConversionMode(int number) {
    for (const ConversionMode& mode : kModes) {
        if (mode.number == number) return &mode;
    }
    return nullptr;
}

std::optional<InputKind> InputKindForName(std::string_view name) {
    const std::string extension = UpperCaseRu(name.substr(ReplaceExtension(name, "").size()));
    if (extension == ".WPT") return XCTrackExport;
    if (extension == ".GPX") return NavitelGpx;
    if (extension == ".TXT") return PointList;
    return std::nullopt;
}

std::optional<InputKind> InputKindForPath(const std::filesystem::path& path) {
    return InputKindForName(PathText(path));
}

}  // namespace oradel
