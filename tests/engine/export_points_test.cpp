// The rules every export shares: how coordinates are read, which points are
// left out and reported, and the names of unnamed points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/coordinates.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::Windows1251;

TEST(ReadPosition, ReadsDecimalDegreesWithinTheirRanges) {
    const struct {
        const char* lat;
        const char* lon;
        bool readable;
        double latValue, lonValue;
        const char* latText;
        const char* lonText;
        std::optional<long> altitude = std::nullopt;
    } cases[] = {
        {"43.9612", "42.9845", true, 43.9612, 42.9845, "43.9612", "42.9845"},
        {"43,9612", " 42,9845 ", true, 43.9612, 42.9845, "43.9612", "42.9845"},
        {"-90", "180", true, -90, 180, "-90", "180"},
        {"+4.5e1", "-1.8E2", true, 45, -180, "45", "-180"},
        {"+43.25", "4.35e-1", true, 43.25, 0.435, "+43.25", "0.435"},
        {"1e-300", "-0e0", true, 1e-300, 0, "0", "0"},
        {"39.97386971488595", "0", true, 39.97386971488595, 0, "39.97386971488595", "0"},
        {"90.0000001", "0", false, 0, 0, "", ""},
        {"0", "-180.5", false, 0, 0, "", ""},
        {"nan", "1", false, 0, 0, "", ""},
        {"1", "inf", false, 0, 0, "", ""},
        {"1e309", "1", false, 0, 0, "", ""},
        {"1", "-1e400", false, 0, 0, "", ""},
        {"45.9", "", false, 0, 0, "", ""},
        {"44.1", "42.2 1200", true, 44.1, 42.2, "44.1", "42.2", 1200},
        {"44.1", "42.2\t1850,6 м", true, 44.1, 42.2, "44.1", "42.2", 1851},
        {"44.1", "42.2 -12m", true, 44.1, 42.2, "44.1", "42.2", -12},
        {"44.1", "42.2 6070ft", true, 44.1, 42.2, "44.1", "42.2", 1850},
        {"44.1", "42.2 1200 m.", false, 0, 0, "", ""},
        {"44.1", "42.2 1200 3", false, 0, 0, "", ""},
        {"44.1", "42.2 km", false, 0, 0, "", ""},
        {"44.1", "42.2 1e9", false, 0, 0, "", ""},
        {"1,5,5", "2", false, 0, 0, "", ""},
        {"север", "2", false, 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        Position position;
        ASSERT_EQ(ReadPosition(Windows1251(c.lat), Windows1251(c.lon), position), c.readable)
            << c.lat << " " << c.lon;
        if (!c.readable) continue;
        EXPECT_EQ(position.lat, c.latValue) << c.lat;
        EXPECT_EQ(position.lon, c.lonValue) << c.lon;
        EXPECT_EQ(position.latText, c.latText);
        EXPECT_EQ(position.lonText, c.lonText);
        EXPECT_EQ(position.altitude, c.altitude) << c.lon;
    }
}

// Every export meets the same unreadable points and reports each with its
// place in the list; the page keeps their blocks, the waypoint files not.
TEST(LeftOutPoints, EveryExportReportsTheSamePoints) {
    const std::string list = Windows1251(
        "A\r\n1 2\r\n\r\nНет <С>\r\nnan 2\r\n\r\nB\r\n3 4\r\n\r\n:Юг\r\nДалеко\r\n95 1\r\n");
    const std::vector<LeftOutPoint> expected = {{2, Windows1251("Нет <С>")},
                                                {4, Windows1251("Далеко")}};
    for (const ConversionMode& exportMode : ConversionModes()) {
        if (exportMode.IsImport()) continue;
        const int mode = exportMode.number;
        const auto result = Convert(mode, list);
        EXPECT_EQ(result.outcome.leftOut, expected) << "mode " << mode;
        bool named = false;  // in any of the files' encodings
        for (const std::string& name :
             {std::string("Далеко"), Windows1251("Далеко"), std::string("Daleko")}) {
            named = named || result.output.find(name) != std::string::npos;
        }
        EXPECT_EQ(named, mode == 4) << "mode " << mode;
    }
}

TEST(LeftOutPoints, ListKeepsEachRecordOnceInTheOrderFirstMet) {
    LeftOutPointList list;
    const std::vector<LeftOutPoint> first = {{2, "b"}, {5, "e"}};
    const std::vector<LeftOutPoint> second = {{1, "a"}, {2, "b"}, {5, "e"}, {7, "g"}};
    const auto added = list.Add(first);
    EXPECT_EQ(std::vector<LeftOutPoint>(added.begin(), added.end()), first);
    const auto more = list.Add(second);
    EXPECT_EQ(std::vector<LeftOutPoint>(more.begin(), more.end()),
              (std::vector<LeftOutPoint>{{1, "a"}, {7, "g"}}));
    EXPECT_EQ(list.Points(), (std::vector<LeftOutPoint>{{2, "b"}, {5, "e"}, {1, "a"}, {7, "g"}}));
}

TEST(UnnamedPointName, CountsWithAtLeastThreeDigits) {
    EXPECT_EQ(UnnamedPointName(1), "WPT001");
    EXPECT_EQ(UnnamedPointName(42), "WPT042");
    EXPECT_EQ(UnnamedPointName(999), "WPT999");
    EXPECT_EQ(UnnamedPointName(1000), "WPT1000");
}

}  // namespace
}  // namespace oradel
