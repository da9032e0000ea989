#include "engine/xctrack_export_import.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/coordinates.hpp"
#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/test_support.hpp"
#include "engine/text_input.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::Windows1251;
using testing::WriteBytes;

const std::string kHeader = "$FormatGEO\r\n";

std::string ImportExport(const std::string& exportBytes) {
    return Convert(1, exportBytes, Options(), "export.wpt").output;
}

struct ImportCase {
    const char* label;
    std::string exportText;         // bytes of the export (UTF-8 unless the case says otherwise)
    std::vector<std::string> list;  // readable UTF-8 lines, converted to Windows-1251
};

void PrintTo(const ImportCase& c, std::ostream* out) {
    *out << c.label;
}

class XCTrackExportTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(XCTrackExportTest, WritesOneRecordPerPoint) {
    const ImportCase& c = GetParam();
    EXPECT_EQ(ImportExport(c.exportText), Windows1251(CrLfLines(c.list))) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, XCTrackExportTest,
    ::testing::Values(
        ImportCase{"worked example",
                   kHeader + "Холм_Ветров    N 44 7 24.24    E 042 34 04.08   0  Старт с юга\r\n",
                   {"Холм_Ветров", "44.123400 42.567800", "Старт с юга", ""}},
        ImportCase{"hemisphere letters and signed pieces",
                   kHeader + "A S 44 7 24.24 W 042 34 04.08 0\r\n"
                             "B S -44 30 0 N -44 -30 0 0\r\n"
                             "C N -44 30 0 E 120 0 0 0\r\n",
                   {"A", "-44.123400 -42.567800", "", "", "B", "-43.500000 -44.500000", "", "", "C",
                    "-43.500000 120.000000", "", ""}},
        ImportCase{"empty export", "", {}}, ImportCase{"header only", kHeader, {}},
        ImportCase{"blank lines anywhere",
                   kHeader + "\r\n  \t \r\nA N 1 0 0 E 2 0 0 0  x   y  \r\n\r\n\r\n",
                   {"A", "01.000000 02.000000", "x   y", ""}},
        ImportCase{"LF line ends",
                   "$FormatGEO\nA N 1 0 0 E 2 0 0 0\nB N 3 0 0 E 4 0 0 0\n",
                   {"A", "01.000000 02.000000", "", "", "B", "03.000000 04.000000", "", ""}},
        ImportCase{"byte-order mark goes with the header",
                   "\xEF\xBB\xBF" + kHeader + "A_b N 1 0 0 E 2 0 0",
                   {"A_b", "01.000000 02.000000", "", ""}},
        ImportCase{"Windows-1251 line taken as it stands",
                   kHeader + Windows1251("Гора N 1 30 0 E 2 0 0 0 Старт № 1\r\n") +
                       "Поляна N 1 0 0 E 2 0 0 0 ё\r\n",
                   {"Гора", "01.500000 02.000000", "Старт № 1", "", "Поляна", "01.000000 02.000000",
                    "ё", ""}},
        ImportCase{"control bytes before a field's space are trimmed off numbers only",
                   kHeader + "A\t S\t 44\t 30\v 0\x01 W 1\t 0 0 0 d\r\n",
                   {"A", "-44.500000 -01.000000", "d", ""}},
        ImportCase{"longer UTF-8 forms: three bytes, four bytes (no such letter), upper half",
                   kHeader + "Пик_№2 N 1 0 0 E 2 0 0 0 € 😀 ё Ў «x»\r\n",
                   {"Пик_№2", "01.000000 02.000000", "€ ? ё Ў «x»", ""}},
        ImportCase{"without a header the first line is a point",
                   "A N 1 0 0 E 2 0 0 0\r\nB N 3 0 0 E 4 0 0 0\r\n",
                   {"A", "01.000000 02.000000", "", "", "B", "03.000000 04.000000", "", ""}},
        ImportCase{"a byte-order mark without a header",
                   "\xEF\xBB\xBF"
                   "A N 1 0 0 E 2 0 0 0\r\n",
                   {"A", "01.000000 02.000000", "", ""}}));

// GEO as other programs write it: the fields are the first group of
// hemisphere letter, degrees, minutes, seconds (twice) and altitude, found
// wherever it stands; before it the name, after it the description.
INSTANTIATE_TEST_SUITE_P(
    Writers, XCTrackExportTest,
    ::testing::Values(
        ImportCase{"names with blanks",
                   kHeader + "Холм Ветров  старт N 44 7 24.24 E 042 34 04.08 1200 Старт с юга\r\n",
                   {"Холм Ветров  старт", "44.123400 42.567800 1200", "Старт с юга", ""}},
        ImportCase{"fixed columns, two blanks before the hemisphere letter",
                   kHeader + "ABC001 Big Hill    N 47 49 03.66  W 119 38 36.30   693  Big Hill\r\n"
                             "A                 S 00 30 00.00  E 000 00 36.00     0\r\n",
                   {"ABC001 Big Hill", "47.817683 -119.643417 693", "Big Hill", "", "A",
                    "-00.500000 00.010000", "", ""}},
        ImportCase{"tabs between the fields, and a group inside the name",
                   kHeader + "N 1 Pass\tN\t1\t2\t3\tE\t4\t5\t6\t7\tdesc N 1 2 3 E 4 5 6 7\r\n",
                   {"N 1 Pass", "01.034167 04.085000 7", "desc N 1 2 3 E 4 5 6 7", ""}},
        ImportCase{
            "points without a name are numbered",
            kHeader + "N 1 0 0 E 2 0 0 0 a\r\n  :: S 1 0 0 W 2 0 0 0\r\n",
            {"WPT001", "01.000000 02.000000", "a", "", "WPT002", "-01.000000 -02.000000", "", ""}},
        ImportCase{"no altitude at the end of the line",
                   kHeader + "Pass N 1 0 0 E 2 0 0\r\n",
                   {"Pass", "01.000000 02.000000", "", ""}},
        ImportCase{"list syntax in imported text stays text",
                   kHeader + ": :Гора <Юг> N 1 0 0 E 2 0 0 0 [a|b] {c}\r\n",
                   {"Гора ‹Юг›", "01.000000 02.000000", "(a¦b) (c)", ""}}));

TEST(XCTrackExport, ReportsReplacedCharactersOnce) {
    const auto result = Convert(1,
                                kHeader +
                                    "Handelstraße N 1 0 0 E 2 0 0 0 Ωμέγα\r\n"
                                    "Łódź N 1 0 0 E 2 0 0 0 ok\r\nГора N 1 0 0 E 2 0 0 0\r\n",
                                Options(), "export.wpt");
    EXPECT_EQ(result.output, Windows1251(CrLfLines({"Handelstrasse", "01.000000 02.000000", "?????",
                                                    "", "Lodz", "01.000000 02.000000", "ok", "",
                                                    "Гора", "01.000000 02.000000", "", ""})));
    EXPECT_EQ(result.messages, std::vector<std::string>{
                                   "Символы, которых нет в кодировке Windows-1251, заменены: 3"});
}

// One ill-formed byte sequence anywhere in a line, number fields, hemisphere
// letters and altitude included, makes the whole line Windows-1251.
struct RawLineCase {
    const char* label;
    std::string line;         // the export's point line, without its end
    std::string name;         // bytes expected on the list
    std::string description;  // bytes expected on the list
};

void PrintTo(const RawLineCase& c, std::ostream* out) {
    *out << c.label;
}

class RawLineTest : public ::testing::TestWithParam<RawLineCase> {};

// The list's text as the list reader takes it: a list that an import had to
// write in UTF-8 (with its byte-order mark) reads as its Windows-1251 text.
std::string ListText(const std::string& list) {
    return list.starts_with("\xEF\xBB\xBF") ? Windows1251FromUtf8(list.substr(3)) : list;
}

TEST_P(RawLineTest, KeepsTheBytesOfAnIllFormedLine) {
    const RawLineCase& c = GetParam();
    EXPECT_EQ(ListText(ImportExport(kHeader + c.line + "\r\n")),
              CrLfLines({c.name, "01.000000 02.000000", c.description, ""}))
        << c.label;
}

const std::string kMountain = "Гора";  // UTF-8 bytes

INSTANTIATE_TEST_SUITE_P(
    Lines, RawLineTest,
    ::testing::Values(
        RawLineCase{"altitude", kMountain + " N 1 0 0 E 2 0 0 \xFF Старт", kMountain, "Старт"},
        RawLineCase{"hemisphere letter", kMountain + " N\xD0 1 0 0 E 2 0 0 0 юг", kMountain, "юг"},
        RawLineCase{"lead byte before a space ends the name", "Гор\xD0 N 1 0 0 E 2 0 0 0 юг",
                    "Гор\xD0", "юг"},
        RawLineCase{"overlong form", kMountain + " N 1 0 0 E 2 0 0 0 \xC0\xAF", kMountain,
                    "\xC0\xAF"},
        RawLineCase{"surrogate", kMountain + " N 1 0 0 E 2 0 0 0 a\xED\xA0\x80", kMountain,
                    "a\xED\xA0\x80"},
        RawLineCase{"above U+10FFFF", kMountain + " N 1 0 0 E 2 0 0 0 \xF4\x90\x80\x80", kMountain,
                    "\xF4\x90\x80\x80"},
        RawLineCase{"form cut off at the line end", kMountain + " N 1 0 0 E 2 0 0 0 \xE2\x84",
                    kMountain, "\xE2\x84"},
        RawLineCase{"stray trail byte", kMountain + " N 1 0 0 E 2 0 0 0 \x80", kMountain, "\x80"}));

// Our own GEO file, and one in fixed columns with LF line ends as other writers have it.
TEST(XCTrackExport, ReadsGoldenFiles) {
    const std::pair<const char*, const char*> files[] = {
        {"xctrack/points.wpt", "xctrack/points_imported.txt"},
        {"xctrack/fixed_columns.wpt", "xctrack/fixed_columns.txt"},
    };
    for (const auto& [geo, list] : files) {
        EXPECT_EQ(ImportExport(ReadBytes(DataFile(geo))), ReadBytes(DataFile(list))) << geo;
    }
}

struct NumberErrorCase {
    std::string exportText;
    std::string message;  // UTF-8, before " (line N of FILE)"
    int line;
};

void PrintTo(const NumberErrorCase& c, std::ostream* out) {
    *out << c.message;
}

class XCTrackExportNumberErrorTest : public ::testing::TestWithParam<NumberErrorCase> {};

// A failed import throws the number message first and leaves an existing list untouched.
TEST_P(XCTrackExportNumberErrorTest, FailsAndKeepsTheOldList) {
    const NumberErrorCase& c = GetParam();
    ScratchFolder folder;
    WriteBytes(folder / "export.wpt", c.exportText);
    WriteBytes(folder / "export.txt", "old list\r\n");
    testing::RecordingMessages messages;
    EXPECT_EQ(testing::FailureOf([&] {
                  RunConversion(*FindConversionMode(1), folder / "export.wpt", Options(), messages,
                                ExistingList::Replace);
              }),
              c.message + " (line " + std::to_string(c.line) + " of " +
                  PathText(folder / "export.wpt") + ")");
    EXPECT_EQ(ReadBytes(folder / "export.txt"), "old list\r\n");
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        files.push_back(entry.path().filename());
    }
    EXPECT_EQ(files.size(), 2u) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, XCTrackExportNumberErrorTest,
    ::testing::Values(NumberErrorCase{kHeader + "A N 44,5 0 0 E 1 0 0 0\r\n",
                                      "'44,5' is not a valid floating point value", 2},
                      NumberErrorCase{kHeader + "A N 1 0 0 E 2 0 0 0\r\n\r\nB N 44\r\n",
                                      "'' is not a valid floating point value", 4},
                      NumberErrorCase{kHeader + "A N 1 0 0 E 2 0 x 0\r\n",
                                      "'x' is not a valid floating point value", 2},
                      NumberErrorCase{kHeader + "A N 1 0 0 E 2 0 x\t 0\r\n",
                                      "'x' is not a valid floating point value", 2},
                      NumberErrorCase{kHeader + Windows1251("Гора N 1 ы 0 E 2 0 0 0\r\n"),
                                      "'ы' is not a valid floating point value", 2},
                      // A UTF-8 line shows the field as it stands; an ill-formed byte
                      // elsewhere makes the line Windows-1251 ("\xFF" is "я").
                      NumberErrorCase{kHeader + "Гора N 1 ы 0 E 2 0 0 0\r\n",
                                      "'ы' is not a valid floating point value", 2},
                      NumberErrorCase{kHeader + "Гора N 1 0 0 E 2 \xFF 0 0\r\n",
                                      "'я' is not a valid floating point value", 2},
                      NumberErrorCase{kHeader + "Гора N 1 0 0 E 2 \xD1\x8B 0 \xFF\r\n",
                                      "'С‹' is not a valid floating point value", 2}));

// Reads a list that the import wrote: every fourth line from the second holds coordinates.
std::vector<double> CoordinatesOfList(const std::string& list) {
    std::vector<double> values;
    std::size_t start = 0;
    for (std::size_t line = 0; start < list.size(); ++line) {
        const std::size_t end = list.find("\r\n", start);
        const std::string_view text(list.data() + start, end - start);
        if (line % 4 == 1) {
            const std::size_t space = text.find(' ');
            values.push_back(ParseDecimal(text.substr(0, space)).value());
            values.push_back(ParseDecimal(text.substr(space + 1)).value());
        }
        start = end + 2;
    }
    return values;
}

// Through the GEO file (mode 2, then 1) and the CUP file (mode 6, then 16),
// each to its own precision: 1/1000 minute in CUP.
TEST(RoundTrip, KeepsCoordinatesThroughTheWaypointFile) {
    std::string list;
    std::vector<double> written;
    unsigned state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<double>(state >> 8) / (1u << 24);
    };
    for (int i = 0; i < 2000; ++i) {
        const double lat = (next() * 2 - 1) * 90;
        const double lon = (next() * 2 - 1) * 180;
        const std::string latText = FormatWithPattern(lat, "0.0000000");
        const std::string lonText = FormatWithPattern(lon, "0.0000000");
        list += "P" + std::to_string(i) + "\r\n" + latText + " " + lonText + "\r\n\r\n";
        written.push_back(ParseDecimal(latText).value());
        written.push_back(ParseDecimal(lonText).value());
    }
    for (const char* extra : {"55.3 37.5", "-33.9 -70.65", "0 -0.0000004", "-89.999999 179.999999",
                              "0.0000049 -179.9999951"}) {
        list += std::string("Q\r\n") + extra + "\r\n\r\n";
        const std::string_view text(extra);
        written.push_back(ParseDecimal(text.substr(0, text.find(' '))).value());
        written.push_back(ParseDecimal(text.substr(text.find(' ') + 1)).value());
    }
    const struct {
        int exportMode, importMode;
        const char* fileName;
        double tolerance;
    } trips[] = {{2, 1, "x.wpt", 2e-6}, {6, 16, "x.cup", 1.0 / 60000 / 2 + 1e-6}};
    for (const auto& trip : trips) {
        const auto waypoints = Convert(trip.exportMode, list);
        ASSERT_TRUE(waypoints.outcome.leftOut.empty());
        const std::vector<double> read = CoordinatesOfList(
            Convert(trip.importMode, waypoints.output, Options(), trip.fileName).output);
        ASSERT_EQ(read.size(), written.size());
        int quadrants[4] = {};
        for (std::size_t i = 0; i < read.size(); i += 2) {
            EXPECT_NEAR(read[i], written[i], trip.tolerance) << trip.exportMode << " " << i / 2;
            EXPECT_NEAR(read[i + 1], written[i + 1], trip.tolerance) << trip.exportMode;
            ++quadrants[(written[i] < 0 ? 2 : 0) + (written[i + 1] < 0 ? 1 : 0)];
        }
        for (const int count : quadrants) EXPECT_GT(count, 100);
    }
}

}  // namespace
}  // namespace oradel

namespace oradel {
namespace {

// Mode 1 reads each of our own waypoint files back as the same points, and
// mode 16 our CUP file: names as the file writes them, coordinates to 1e-6
// degree (1/1000 minute in CUP), altitudes.
TEST(WaypointFileImport, OwnExportsReadBackAsTheSamePoints) {
    const std::string list = testing::Windows1251(
        "Юца <Ю>\r\n43.9612 42.9845 1850\r\nстарт\r\n\r\nA b\r\n-33.9 -70.65\r\n\r\n"
        "C\r\n0.5 179.999999 -12\r\n");
    const struct {
        int mode;
        std::vector<std::string> names;  // readable UTF-8
        int importMode = 1;
        double tolerance = 1e-6;
    } cases[] = {
        {2, {"Юца", "A_b", "C"}},
        {3, {"Юца", "A b", "C"}},
        {5, {"Yutsa", "A_b", "C"}},
        {6, {"Юца", "A b", "C"}, 16, 1.0 / 60000 / 2 + 1e-6},
    };
    const std::vector<testing::ListPoint> original = testing::ListPoints(list);
    for (const auto& c : cases) {
        const std::string file = Convert(c.mode, list).output;
        const std::vector<testing::ListPoint> back =
            testing::ListPoints(Convert(c.importMode, file, Options(), "x.wpt").output);
        ASSERT_EQ(back.size(), original.size()) << c.mode;
        for (std::size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(back[i].name, testing::Windows1251(c.names[i])) << c.mode;
            EXPECT_NEAR(back[i].lat, original[i].lat, c.tolerance) << c.mode << " " << i;
            EXPECT_NEAR(back[i].lon, original[i].lon, c.tolerance) << c.mode << " " << i;
            EXPECT_EQ(back[i].altitude, original[i].altitude) << c.mode << " " << i;
        }
    }
}

// What the CompeGPS and Ozi readers take from lines others wrote.
TEST(WaypointFileImport, ReadsForeignCompeGpsAndOziLines) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"G  WGS 84\r\nU  1\r\nW  Col A 45.8812000\xC2\xBA"
         "N 6.8724000\xC2\xBA"
         "E 27-MAR-62 00:00:00 2500.5 Col du Lac\r\nw  Waypoint,0,-1.0,16777215\r\n",
         {"Col", "45.881200 06.872400 2501", "Col du Lac", ""}},
        {"OziExplorer Waypoint File Version 1.1\r\nWGS 84\r\nReserved 2\r\n\r\n"
         "   1,Гора,  55.75,  37.61,40000.0, 0, 1, 3, 0, 65535,Сход, 0, 0, 0,  -777, 6, 0,17\r\n"
         "   2,\xD1"
         "ever, -1.5, 2.5,40000.0, 0, 1, 3, 0, 65535,, 0, 0, 0, 328\r\n",
         {"Гора", "55.750000 37.610000", "Сход", "", "Сever", "-01.500000 02.500000 100", "", ""}},
    };
    for (const auto& [file, lines] : cases) {
        EXPECT_EQ(Convert(1, file, Options(), "x.wpt").output,
                  testing::Windows1251(CrLfLines(lines)));
    }
}

}  // namespace
}  // namespace oradel
