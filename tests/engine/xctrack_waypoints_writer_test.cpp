#include "engine/xctrack_waypoints_writer.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::Windows1251;

struct XCTrackCase {
    const char* label;
    std::string list;                       // readable UTF-8, converted to Windows-1251
    std::vector<std::string> lines;         // UTF-8, after "$FormatGEO"
    std::vector<std::string> leftOut = {};  // readable UTF-8
};

void PrintTo(const XCTrackCase& c, std::ostream* out) {
    *out << c.label;
}

class XCTrackWaypointsTest : public ::testing::TestWithParam<XCTrackCase> {};

TEST_P(XCTrackWaypointsTest, WritesPointsAndReportsTheUnreadable) {
    const XCTrackCase& c = GetParam();
    const auto result = Convert(2, Windows1251(c.list));
    EXPECT_EQ(result.output, CrLfLines({"$FormatGEO"}) + CrLfLines(c.lines)) << c.label;
    std::vector<std::string> leftOut;
    for (const LeftOutPoint& point : result.outcome.leftOut) leftOut.push_back(point.name);
    std::vector<std::string> expected;
    for (const std::string& name : c.leftOut) expected.push_back(Windows1251(name));
    EXPECT_EQ(leftOut, expected) << c.label;
    EXPECT_TRUE(result.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, XCTrackWaypointsTest,
    ::testing::Values(
        XCTrackCase{"empty list", "", {}},
        XCTrackCase{"worked example",
                    "Лысая гора\r\n55.3 37.5\r\nстарт\r\n",
                    {"Лысая_гора    N 55 17 60.00    E 037 30 00.00   0  старт"}},
        XCTrackCase{"spaces in the name, only the first comment, trimmed",
                    ":Горы\r\n  Лысая   гора <Ю ЮЗ> \r\n55.3 37.5\r\n  a,  b  \r\nвторой\r\n",
                    {"Лысая_гора    N 55 17 60.00    E 037 30 00.00   0  a,  b"}},
        XCTrackCase{"markup unexpanded, no description",
                    "A\r\n1 2\r\n[http://a.b|Сайт] {+7 (912) 1|Тел}\r\n\r\nB\r\n3 4\r\n",
                    {"A    N 01 0 00.00    E 002 0 00.00   0  [http://a.b|Сайт] {+7 (912) 1|Тел}",
                     "B    N 03 0 00.00    E 004 0 00.00   0  "}},
        XCTrackCase{"the altitude in whole metres",
                    "Эльбрус\r\n43.5 42.5 5642м\r\n\r\nB\r\n1 2 1000ft\r\n",
                    {"Эльбрус    N 43 30 00.00    E 042 30 00.00   5642  ",
                     "B    N 01 0 00.00    E 002 0 00.00   305  "}},
        XCTrackCase{"latitude 0 is a place",
                    "Экватор\r\n0 37.5\r\n",
                    {"Экватор    N 00 0 00.00    E 037 30 00.00   0  "}},
        XCTrackCase{"south and west",
                    "A\r\n-33.9 -70.65\r\n\r\nB\r\n-0.5 -0.25\r\n",
                    {"A    S 33 53 60.00    W 070 39 00.00   0  ",
                     "B    S 00 30 00.00    W 000 15 00.00   0  "}},
        XCTrackCase{"a name that is only a tag is numbered",
                    "<С>\r\n1 2\r\n\r\nA\r\n3 4\r\n\r\n  <Ю>  \r\n5 6\r\n",
                    {"WPT001    N 01 0 00.00    E 002 0 00.00   0  ",
                     "A    N 03 0 00.00    E 004 0 00.00   0  ",
                     "WPT002    N 05 0 00.00    E 006 0 00.00   0  "}},
        XCTrackCase{"decimal commas read as points, unreadable coordinates are left out",
                    "  Юца  <X> \r\n43,9612 42,9845\r\n\r\nA\r\n55.5\r\n\r\nB\r\n91 1\r\n"
                    "\r\nC\r\n1 -1e400\r\n\r\nD\r\nnan inf\r\n\r\n<E>\r\n1 2 3x\r\n",
                    {"Юца    N 43 57 40.32    E 042 59 04.20   0  "},
                    {"A", "B", "C", "D", "<E>"}},
        XCTrackCase{"the ends of the ranges are places",
                    "A\r\n90 180\r\n\r\nB\r\n-90 -180\r\n\r\nC\r\n90.0000001 0\r\n\r\n"
                    "D\r\n0 -180.000001\r\n",
                    {"A    N 90 0 00.00    E 180 0 00.00   0  ",
                     "B    S 90 0 00.00    W 180 0 00.00   0  "},
                    {"C", "D"}}));

TEST(XCTrackWaypoints, WritesTheGoldenFile) {
    const auto result = Convert(2, ReadBytes(DataFile("xctrack/points.txt")));
    EXPECT_EQ(result.output, ReadBytes(DataFile("xctrack/points.wpt")));
    const std::vector<LeftOutPoint> leftOut = {{3, Windows1251("Плохая точка <X>")}};
    EXPECT_EQ(result.outcome.leftOut, leftOut);
    // Cyrillic letters are two bytes each (Ё is D0 81), the numero sign three.
    EXPECT_NE(result.output.find("\xE2\x84\x96 5, \xD0\x81"), std::string::npos);
}

TEST(XCTrackWaypoints, WritesTheSameBytesUnderACommaLocale) {
    const std::string list = ReadBytes(DataFile("xctrack/points.txt"));
    const std::string inC = Convert(2, list).output;
    std::string saved = "C";
    if (const char* current = std::setlocale(LC_ALL, nullptr)) saved = current;
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "SKIPPED: locale ru_RU.UTF-8 is not installed";
    }
    const std::string inRussian = Convert(2, list).output;
    const std::string numericAfter = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(inRussian, inC);
    EXPECT_EQ(numericAfter, "ru_RU.UTF-8");
}

}  // namespace
}  // namespace oradel
