#include "engine/conversion_modes.hpp"

#include <array>

#include "engine/cup_import.hpp"
#include "engine/cup_waypoints_writer.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/gpx_waypoints_writer.hpp"
#include "engine/kml_writer.hpp"
#include "engine/lk8000_waypoints_writer.hpp"
#include "engine/navitel_gpx_import.hpp"
#include "engine/navitel_waypoints_writer.hpp"
#include "engine/output_names.hpp"
#include "engine/web_page_writer.hpp"
#include "engine/xctrack_export_import.hpp"
#include "engine/xctrack_waypoints_writer.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

using enum InputKind;
using enum MessageId;

// Number, settings key, input, output extension and suffix, body, usage line,
// ticked on the first start, run by default for its input's extension.
constexpr ConversionMode kModes[] = {
    {1, "CheckBox1", WaypointFile, ".txt", "", ImportWaypointFile, ModeImportXCTrack, true, true},
    {15, "CheckBox15", NavitelGpx, ".txt", "_nav", ImportNavitelGpx, ModeImportNavitel, true, true},
    {16, "importCup", CupFile, ".txt", "", ImportCupWaypoints, ModeImportCup, true, true},
    {2, "CheckBox2", PointList, ".wpt", "", WriteXCTrackWaypoints, ModeWriteXCTrack, true, true},
    {3, "CheckBox3", PointList, ".wpt", "_nav", WriteNavitelWaypoints, ModeWriteNavitel, true,
     true},
    {4, "CheckBox4", PointList, ".htm", "", WriteWebPage, ModeWriteWebPage, true, true},
    {5, "CheckBox5", PointList, ".wpt", "_lk8", WriteLK8000Waypoints, ModeWriteLK8000, true, true},
    {6, "exportCup", PointList, ".cup", "", WriteCupWaypoints, ModeWriteCup, true, true},
    {7, "exportGpx", PointList, ".gpx", "_wpt", WriteGpxWaypoints, ModeWriteGpx, false, false},
    {8, "exportKml", PointList, ".kml", "", WriteKmlPlacemarks, ModeWriteKml, false, false},
};

// What every row must have; a row without it does not compile. (That each has
// a body is a test's: under the undefined-behaviour sanitizer a function's
// address is no constant that a static_assert may compare.)
constexpr bool EveryModeIsComplete() {
    for (std::size_t i = 0; i < std::size(kModes); ++i) {
        const ConversionMode& mode = kModes[i];
        if (mode.number <= 0 || mode.number >= 64 || mode.key.empty() ||
            mode.extension.size() < 2 || mode.extension[0] != '.') {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (kModes[j].number == mode.number || kModes[j].key == mode.key) return false;
            // Imports first, then exports by number.
            if (!kModes[j].IsImport() && (mode.IsImport() || kModes[j].number > mode.number)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EveryModeIsComplete(),
              "every mode has a unique number and key and an output extension, in job order");

constexpr unsigned Formats(std::initializer_list<FileFormat> formats) {
    unsigned bits = 0;
    for (const FileFormat format : formats) bits |= 1u << static_cast<unsigned>(format);
    return bits;
}

using F = FileFormat;

// Each kind of input: the extension that asks for it, the formats its modes
// read, the formats that make a file of this kind whatever its name, and the
// message that refuses any other format.
struct InputKindRow {
    InputKind kind;
    std::string_view extension;
    unsigned reads;
    unsigned chosenBy;
    MessageId refusal;
};
constexpr InputKindRow kInputKinds[] = {
    {WaypointFile, ".wpt",
     Formats({F::GeoWaypoints, F::CompeGpsWaypoints, F::OziWaypoints, F::PlainText, F::Empty,
              F::Unknown}),
     Formats({F::GeoWaypoints, F::CompeGpsWaypoints, F::OziWaypoints}), WrongWaypointFormat},
    {NavitelGpx, ".gpx", Formats({F::Gpx, F::OtherXml, F::Utf16Text, F::Unknown}),
     Formats({F::Gpx, F::OtherXml, F::Utf16Text}), NotXml},
    {CupFile, ".cup", Formats({F::CupWaypoints, F::PlainText, F::Empty, F::Unknown}),
     Formats({F::CupWaypoints}), NotACupFile},
    {PointList, ".txt", Formats({F::PointList, F::PlainText, F::Empty, F::Unknown}),
     Formats({F::PointList}), NotAPointList},
};

const InputKindRow& RowOf(InputKind kind) {
    for (const InputKindRow& row : kInputKinds) {
        if (row.kind == kind) return row;
    }
    return kInputKinds[0];  // every kind has its row
}

bool Has(unsigned formats, FileFormat format) {
    return (formats >> static_cast<unsigned>(format) & 1u) != 0;
}

}  // namespace

ModeSelection ModeSelection::FirstStart() {
    ModeSelection selection;
    for (const ConversionMode& mode : kModes) selection.Set(mode.number, mode.tickedOnFirstStart);
    return selection;
}

std::span<const ConversionMode> ConversionModes() {
    return kModes;
}

const ConversionMode* FindConversionMode(int number) {
    for (const ConversionMode& mode : kModes) {
        if (mode.number == number) return &mode;
    }
    return nullptr;
}

const ConversionMode* FindConversionMode(std::string_view key) {
    for (const ConversionMode& mode : kModes) {
        if (mode.key == key) return &mode;
    }
    return nullptr;
}

std::string ModeNumberList() {
    std::string list;
    for (const ConversionMode& mode : kModes) {
        if (!list.empty()) list += ", ";
        list += std::to_string(mode.number);
    }
    return list;
}

std::optional<InputKind> InputKindForName(std::string_view name) {
    const std::string extension = UpperCaseRu(ExtensionOfName(name));
    for (const InputKindRow& input : kInputKinds) {
        if (extension == UpperCaseRu(input.extension)) return input.kind;
    }
    return std::nullopt;
}

std::optional<InputKind> InputKindForPath(const std::filesystem::path& path) {
    return InputKindForName(PathText(path));
}

std::optional<InputKind> InputKindOf(FileFormat format, const std::filesystem::path& path) {
    if (format == F::Binary) return std::nullopt;
    for (const InputKindRow& input : kInputKinds) {
        if (Has(input.chosenBy, format)) return input.kind;
    }
    return InputKindForPath(path);
}

std::string_view ExtensionOf(InputKind kind) {
    return RowOf(kind).extension;
}

void CheckReadable(InputKind kind, FileFormat format, const std::filesystem::path& path) {
    const InputKindRow& input = RowOf(kind);
    if (!Has(input.reads, format)) {
        throw UserError(Message(input.refusal, {PathText(path), FormatName(format)}));
    }
}

}  // namespace oradel
