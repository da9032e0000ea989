// Checks the files that Oradel writes and reads against GPSBabel: GPSBabel
// must read our OziExplorer waypoint file (mode 3), GPX (mode 7) and KML
// (mode 8) back to the same points, and our import (mode 15) must read the
// GPX that GPSBabel writes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/point_list_reader.hpp"
#include "engine/test_support.hpp"
#include "engine/text_input.hpp"
#include "interop/command_output.hpp"
#include "text/codepage.hpp"
#include "text/imported_text.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::Convert;
using testing::kTool;
using testing::Quoted;
using testing::ReadBytes;
using testing::RunCommand;
using testing::ScratchFolder;
using testing::Windows1251;
using testing::WriteBytes;

// One point as the list holds it, its name and description as our
// OziExplorer writer gives them (filter tag removed, commas made spaces, runs
// of spaces collapsed), and its name as our GPX and KML writers give it
// (filter tag removed, runs of spaces collapsed). GPSBabel gives a point
// without a description its name as description.
struct InteropPoint {
    std::string listName;
    std::string latText, lonText;
    std::string comment;
    std::string oziName, oziDesc;
    double lat, lon;
    std::string xmlName;
};

const std::vector<InteropPoint> kPoints = {
    {"Гора, Южная <Ю ЮЗ>", "55.751244", "-37.618423", "старт, юг & <x>", "Гора Южная",
     "старт юг & <x>", 55.751244, -37.618423, "Гора, Южная"},
    {"Холм  Ветров", "-44.1234", "42.5678", "Ёлка \"кривая\",  №5", "Холм Ветров",
     "Ёлка \"кривая\" №5", -44.1234, 42.5678, "Холм Ветров"},
    {"Q", "-0.000001", "-179.999999", "", "Q", "Q", -0.000001, -179.999999, "Q"},
    {"Пик Щель-Ушба, 4700", "43,125", "42,65", "Пик", "Пик Щель-Ушба 4700", "Пик", 43.125, 42.65,
     "Пик Щель-Ушба, 4700"},
    {"Сайт [http://a.b|B]", "89.999999", "0.5", "{+7 912 1|T}", "Сайт [http://a.b|B]",
     "{+7 912 1|T}", 89.999999, 0.5, "Сайт [http://a.b|B]"},
};

// Runs GPSBabel with `arguments` and returns what it writes to standard output.
std::string RunGpsbabel(const std::string& arguments, const fs::path& errors) {
    return RunCommand(Quoted(kTool) + " " + arguments, errors);
}

std::string DecodeXmlEntities(std::string text) {
    static const std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : kEntities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, entity.size(), character);
        }
    }
    return text;
}

std::string Between(std::string_view text, std::string_view open, std::string_view close) {
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string_view::npos) return {};
    return std::string(text.substr(start + open.size(), end - start - open.size()));
}

struct ReadPoint {
    std::string name, desc;
    double lat = NAN, lon = NAN;
};

// The waypoints of a GPX as GPSBabel writes it (UTF-8 values).
std::vector<ReadPoint> WaypointsOfGpx(std::string_view gpx) {
    std::vector<ReadPoint> points;
    for (std::size_t at = gpx.find("<wpt "); at != std::string_view::npos;
         at = gpx.find("<wpt ", at + 1)) {
        const std::string_view element = gpx.substr(at, gpx.find("</wpt>", at) - at);
        ReadPoint& point = points.emplace_back();
        point.lat = std::strtod(Between(element, "lat=\"", "\"").c_str(), nullptr);
        point.lon = std::strtod(Between(element, "lon=\"", "\"").c_str(), nullptr);
        point.name = DecodeXmlEntities(Between(element, "<name>", "</name>"));
        point.desc = DecodeXmlEntities(Between(element, "<desc>", "</desc>"));
    }
    return points;
}

// The records of a point list (Windows-1251), read back as UTF-8.
std::vector<ReadPoint> PointsOfList(const fs::path& list) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(list.c_str(), "rb"),
                                                         std::fclose);
    if (!file) throw std::runtime_error("cannot read " + list.string());
    TextInput input(file.get());
    PointListReader reader(input);
    std::vector<ReadPoint> points;
    for (PointRecord record; reader.Next(record);) {
        ReadPoint& point = points.emplace_back();
        point.name = Utf8FromWindows1251(record.name);
        point.lat = std::strtod(record.latText.c_str(), nullptr);
        point.lon = std::strtod(record.lonText.c_str(), nullptr);
        if (!record.comments.empty()) point.desc = Utf8FromWindows1251(record.comments.front());
    }
    return points;
}

// What the GPX import writes for a text of the list: the list's syntax
// replaced by its stand-ins.
std::string AsImported(const std::string& utf8, ImportedField field) {
    std::string text = Windows1251FromUtf8(utf8);
    KeepAsListText(text, field);
    return Utf8FromWindows1251(text);
}

// Compares what was read with kPoints: names and descriptions as our
// OziExplorer writer gives them, or as the GPX import gives them.
void ExpectSamePoints(const std::vector<ReadPoint>& read, bool asOziWriterGivesThem) {
    ASSERT_EQ(read.size(), kPoints.size());
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        const InteropPoint& expected = kPoints[i];
        if (asOziWriterGivesThem) {
            EXPECT_EQ(read[i].name, expected.oziName) << i;
            EXPECT_EQ(read[i].desc, expected.oziDesc) << i;
        } else {
            const std::string& desc =
                expected.comment.empty() ? expected.listName : expected.comment;
            EXPECT_EQ(read[i].name, AsImported(expected.listName, ImportedField::Name)) << i;
            EXPECT_EQ(read[i].desc, AsImported(desc, ImportedField::Comment)) << i;
        }
        EXPECT_NEAR(read[i].lat, expected.lat, 1e-6) << i;
        EXPECT_NEAR(read[i].lon, expected.lon, 1e-6) << i;
    }
}

// kPoints as a point list; with `heading`, a section starts at the third point.
std::string ListOfPoints(bool heading) {
    std::string list;
    for (const InteropPoint& point : kPoints) {
        if (heading && &point == &kPoints[2]) list += ":Раздел & <x>\r\n";
        list += point.listName + "\r\n" + point.latText + " " + point.lonText + "\r\n";
        if (!point.comment.empty()) list += point.comment + "\r\n";
        list += "\r\n";
    }
    return Windows1251(list);
}

TEST(GpsbabelReadsOziOutput, SamePointsComeBack) {
    const auto converted = Convert(3, ListOfPoints(false));
    ScratchFolder folder;
    WriteBytes(folder / "points_nav.wpt", converted.output);
    const std::string gpx = RunGpsbabel(
        "-i ozi,codec=windows-1251 -f " + Quoted(folder / "points_nav.wpt") + " -o gpx -F -",
        folder / "errors.txt");
    ExpectSamePoints(WaypointsOfGpx(gpx), true);
}

// GPSBabel reads our GPX (mode 7) and KML (mode 8) files, the points of a
// section (a KML Folder) included, to the same names and coordinates.
TEST(GpsbabelReadsXmlExports, SameNamesAndCoordinates) {
    for (const auto& [mode, format, file] :
         {std::tuple{7, "gpx", "points_wpt.gpx"}, std::tuple{8, "kml", "points.kml"}}) {
        const auto converted = Convert(mode, ListOfPoints(true), Options(), "points.txt");
        ScratchFolder folder;
        WriteBytes(folder / file, converted.output);
        const std::vector<ReadPoint> read = WaypointsOfGpx(RunGpsbabel(
            std::string("-i ") + format + " -f " + Quoted(folder / file) + " -o gpx -F -",
            folder / "errors.txt"));
        ASSERT_EQ(read.size(), kPoints.size()) << format;
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            EXPECT_EQ(read[i].name, kPoints[i].xmlName) << format << " " << i;
            EXPECT_NEAR(read[i].lat, kPoints[i].lat, 1e-6) << format << " " << i;
            EXPECT_NEAR(read[i].lon, kPoints[i].lon, 1e-6) << format << " " << i;
        }
    }
}

// GPSBabel writes the points from a CSV file as GPX 1.0 and 1.1; the
// navigator's own export has Windows line ends, so both line ends are read.
class OradelImportsGpsbabelGpx : public ::testing::TestWithParam<std::tuple<const char*, bool>> {};

TEST_P(OradelImportsGpsbabelGpx, SamePointsInTheList) {
    const auto [format, windowsLineEnds] = GetParam();
    std::string csv = "lat,lon,name,desc\n";
    auto quoted = [](std::string text) {
        for (std::size_t at = text.find('"'); at != std::string::npos;
             at = text.find('"', at + 2)) {
            text.insert(at, 1, '"');
        }
        return "\"" + text + "\"";
    };
    for (const InteropPoint& point : kPoints) {
        csv += std::to_string(point.lat) + "," + std::to_string(point.lon) + "," +
               quoted(point.listName) + "," + quoted(point.comment) + "\n";
    }
    ScratchFolder folder;
    WriteBytes(folder / "points.csv", csv);
    std::string gpx =
        RunGpsbabel("-i unicsv -f " + Quoted(folder / "points.csv") + " -o " + format + " -F -",
                    folder / "errors.txt");
    ASSERT_NE(gpx.find("<bounds minlat="), std::string::npos);  // must not start a point
    if (windowsLineEnds) {
        for (std::size_t at = gpx.find('\n'); at != std::string::npos;
             at = gpx.find('\n', at + 2)) {
            gpx.insert(at, 1, '\r');
        }
    }
    const auto imported = Convert(15, gpx, Options(), "Exported Waypoints.gpx");
    WriteBytes(folder / "list.txt", imported.output);
    ExpectSamePoints(PointsOfList(folder / "list.txt"), false);
}

INSTANTIATE_TEST_SUITE_P(Formats, OradelImportsGpsbabelGpx,
                         ::testing::Combine(::testing::Values("gpx", "gpx,gpxver=1.1"),
                                            ::testing::Bool()));

}  // namespace
}  // namespace oradel

int main(int argc, char** argv) {
    return oradel::testing::RunTestsWithTool(argc, argv, "gpsbabel");
}
