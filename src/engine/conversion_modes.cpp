#include "engine/conversion_modes.hpp"

#include <array>

#include "engine/conversion_job.hpp"
#include "engine/files.hpp"
#include "engine/xctrack_waypoints_writer.hpp"
#include "engine/lk8000_waypoints_writer.hpp"
#include "engine/navitel_gpx_import.hpp"
#include "engine/navitel_waypoints_writer.hpp"
#include "engine/web_page_writer.hpp"
#include "engine/xctrack_export_import.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

using enum InputKind;

// Mode, check box, input, output extension and suffix, pending-file option, body, finishing pass.
constexpr std::array<ConversionMode, 6> kModes = {{
    {1, "CheckBox1", XCTrackExport, ".txt", "", "", ImportXCTrackExport, nullptr},
    {15, "CheckBox15", NavitelGpx, ".txt", "_nav", "", ImportNavitelGpx, nullptr},
    {2, "CheckBox2", PointList, ".wpt", "", "", WriteXCTrackWaypoints, nullptr},
    {3, "CheckBox3", PointList, ".wpt", "_nav", "", WriteNavitelWaypoints, nullptr},
    {4, "CheckBox4", PointList, ".htm", "", "cFI", WriteWebPage, FinishWebPage},
    {5, "CheckBox5", PointList, ".wpt", "_lk8", "", WriteLK8000Waypoints, nullptr},
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
