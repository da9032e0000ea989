#include "engine/conversion_modes.hpp"

#include <array>

#include "engine/conversion_job.hpp"
#include "engine/files.hpp"
#include "engine/geo_waypoint_writer.hpp"
#include "engine/lk8000_waypoint_writer.hpp"
#include "engine/navitel_gpx_import.hpp"
#include "engine/ozi_waypoint_writer.hpp"
#include "engine/web_page_writer.hpp"
#include "engine/xctrack_export_import.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

using enum InputKind;

// Mode, check box, input, output extension and suffix, pending-file option, body, finishing pass.
constexpr std::array<ConversionMode, 6> kModes = {{
    {1, "CheckBox1", FlightAppExport, ".txt", "", "", ImportFlightAppExport, nullptr},
    {15, "CheckBox15", NavigatorGpx, ".txt", "_nav", "", ImportNavigatorGpx, nullptr},
    {2, "CheckBox2", PointList, ".wpt", "", "", WriteFlightAppWaypoints, nullptr},
    {3, "CheckBox3", PointList, ".wpt", "_nav", "", WriteNavigatorWaypoints, nullptr},
    {4, "CheckBox4", PointList, ".htm", "", "cFI", WriteWebPage, FinishWebPage},
    {5, "CheckBox5", PointList, ".wpt", "_lk8", "", WriteGlideComputerWaypoints, nullptr},
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
    if (extension == ".WPT") return FlightAppExport;
    if (extension == ".GPX") return NavigatorGpx;
    if (extension == ".TXT") return PointList;
    return std::nullopt;
}

std::optional<InputKind> InputKindForPath(const std::filesystem::path& path) {
    return InputKindForName(PathText(path));
}

}  // namespace oradel
