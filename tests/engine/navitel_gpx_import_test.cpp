#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Ansi;
using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;

testing::ConversionResult Import(const std::string& gpx) {
    return Convert(15, gpx, Options(), "Exported Waypoints.gpx");
}

struct GpxCase {
    const char* label;
    std::string gpx;                 // raw bytes of the file
    std::vector<std::string> lines;  // readable UTF-8, converted to Windows-1251
};

void PrintTo(const GpxCase& c, std::ostream* os) {
    *os << c.label;
}

class NavitelGpxTest : public ::testing::TestWithParam<GpxCase> {};

TEST_P(NavitelGpxTest, WritesPointList) {
    const GpxCase& c = GetParam();
    const auto result = Import(c.gpx);
    EXPECT_EQ(result.output, Ansi(CrLfLines(c.lines))) << c.label;
    EXPECT_EQ(result.outcome.output.filename(), "Exported Waypoints_nav.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Markers, NavitelGpxTest,
    ::testing::Values(
        GpxCase{"worked example",
                "<wpt lat=\"44.123400\" lon=\"42.567800\"><name>Холм Ветров</name>"
                "<desc>Старт с юга</desc></wpt>\r\n",
                {"Холм Ветров", "44.123400 42.567800", "Старт с юга", ""}},
        GpxCase{"without desc",
                "<wpt lat=\"44.123400\" lon=\"42.567800\"><name>Холм Ветров</name></wpt>\r\n",
                {"Холм Ветров", "44.123400 42.567800", ""}},
        GpxCase{"no point at all", "<?xml version=\"1.0\"?>\r\n<gpx>\r\n</gpx>\r\n", {}},
        GpxCase{"empty file", "", {}},
        GpxCase{"several points on one line keep their order",
                "<wpt lat=\"1\" lon=\"2\"><name>A</name><desc>a</desc></wpt><wpt lat=\"3\" "
                "lon=\"4\"><name>B</name></wpt> <wpt lat=\"5\" lon=\"6\"><name>C</name></wpt>",
                {"A", "1 2", "a", "", "B", "3 4", "", "C", "5 6", ""}},
        GpxCase{"name and desc on lines of their own",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<gpx version=\"1.1\">\r\n"
                "<wpt lat=\"55.1\" lon=\"37.2\">\r\n  <name>Гора</name>\r\n"
                "  <desc>старт, юг</desc>\r\n</wpt>\r\n<wpt lat=\"55.3\" lon=\"37.4\">\r\n"
                "  <name>Поляна</name>\r\n</wpt>\r\n</gpx>\r\n",
                {"Гора", "55.1 37.2", "старт, юг", "", "Поляна", "55.3 37.4", ""}},
        GpxCase{"each line break in a value becomes one space",
                "<wpt lat=\"1\" lon=\"2\"><name>Холм\r\nВетров</name>"
                "<desc>a\rb\nc\r\n\r\nd\n\re</desc></wpt>",
                {"Холм Ветров", "1 2", "a b c  d  e", ""}},
        GpxCase{"bounds attributes start no point",
                "<metadata><bounds minlat=\"1\" minlon=\"2\" maxlat=\"3\" maxlon=\"4\"/>"
                "</metadata>\n<wpt lat=\"5\" lon=\"6\"><name>A</name></wpt>",
                {"A", "5 6", ""}},
        GpxCase{"markers count only at the start of an attribute",
                "lat=\"0\" <wpt\tlat=\"1\"\nlon=\"2\" xlon=\"9\"><name>A</name></wpt>",
                {"A", "1 2", ""}},
        GpxCase{"markers in text, values, comments or declarations open no point",
                "<?xml version=\"1.0\" x=' lat=\"7\"'?>\r\n<!-- <wpt lat=\"8\" lon=\"8\"> -->"
                "<wpt note=' lat=\"0\" a > b' lat=\"1\" cmt='x lon=\"9\"' lon=\"2\">"
                "<name>A lat=\"3\" lon=\"4\"</name><desc> lat=\"5\" lon=\"6\"</desc></wpt>",
                {"A lat=\"3\" lon=\"4\"", "1 2", " lat=\"5\" lon=\"6\"", ""}},
        GpxCase{"a longitude is taken only from an attribute",
                "<wpt lat=\"1\"><name>A</name><desc>at lon=\"6\"</desc></wpt>",
                {"A", "1 ", "at lon=\"6\"", ""}},
        GpxCase{"predefined entities are decoded",
                "<wpt lat=\"1\" lon=\"2\"><name>A &amp; B &lt;C&gt; &quot;q&quot; "
                "&apos;s&apos;</name></wpt>",
                {"A & B <C> \"q\" 's'", "1 2", ""}},
        GpxCase{"character references decoded, best fit or question mark",
                "<wpt lat=\"1\" lon=\"2\"><name>&#1070;&#x42E;&#x42e;&#0001070;</name>"
                "<desc>caf&#233; &#8364; &#x1F600; é😀 №</desc></wpt>",
                {"ЮЮЮЮ", "1 2", "cafe € ? e? №", ""}},
        GpxCase{"malformed or forbidden references stay as written",
                "<wpt lat=\"1\" lon=\"2\"><name>&unknown; &amp &#26; &#xD800; &#; &#x; "
                "&#99999999999; &#65</name></wpt>",
                {"&unknown; &amp &#26; &#xD800; &#; &#x; &#99999999999; &#65", "1 2", ""}},
        GpxCase{"referenced line breaks become one space too",
                "<wpt lat=\"1\" lon=\"2\"><name>a&#13;&#10;b&#10;c</name></wpt>",
                {"a b c", "1 2", ""}},
        GpxCase{"a UTF-8 value without references is converted whole",
                "<wpt lat=\"1\" lon=\"2\"><name>Холм é € 😀 №</name><desc>\tВетер\x1f</desc>"
                "</wpt>",
                {"Холм e € ? №", "1 2", "\tВетер\x1f", ""}},
        GpxCase{"a Windows-1251 value is taken as it stands",
                Ansi("<wpt lat=\"1\" lon=\"2\"><name>Гора &amp; лес</name><desc>ёлка</desc>"
                     "</wpt>"),
                {"Гора & лес", "1 2", "ёлка", ""}},
        GpxCase{"the code page is decided per value",
                "<wpt lat=\"1\" lon=\"2\"><name>Гора</name><desc>" + Ansi("Поляна") +
                    "</desc></wpt><wpt lat=\"3\" lon=\"4\"><name>" + Ansi("Луг") +
                    "</name><desc>Ручей</desc></wpt>",
                {"Гора", "1 2", "Поляна", "", "Луг", "3 4", "Ручей", ""}},
        GpxCase{"a desc after the next point's lat belongs to that point",
                "<wpt lat=\"1\" lon=\"2\"><name>A</name></wpt><wpt lat=\"3\" lon=\"4\">"
                "<name>B</name><desc>b</desc></wpt>",
                {"A", "1 2", "", "B", "3 4", "b", ""}},
        GpxCase{"empty desc writes no description line",
                "<wpt lat=\"1\" lon=\"2\"><name>A</name><desc></desc></wpt>",
                {"A", "1 2", ""}},
        GpxCase{"name is not trimmed",
                "<wpt lat=\"1\" lon=\"2\"><name>  A \t</name></wpt>",
                {"  A \t", "1 2", ""}},
        GpxCase{"coordinates copied as written",
                "<wpt lat=\"-44.123456789\" lon=\"+042.5\"><name>A</name></wpt>",
                {"A", "-44.123456789 +042.5", ""}},
        GpxCase{"track and route points are points too",
                "<trkpt lat=\"5\" lon=\"6\"><ele>100</ele></trkpt><rtept lat=\"7\" lon=\"8\">"
                "<name>R</name></rtept>",
                {"WPT001", "5 6", "", "R", "7 8", ""}},
        GpxCase{"a point without name keeps the next point intact",
                "<wpt lat=\"1\" lon=\"2\"></wpt><wpt lat=\"3\" lon=\"4\"><name>B</name>"
                "<desc>b</desc></wpt>",
                {"WPT001", "1 2", "", "B", "3 4", "b", ""}},
        GpxCase{"missing closers give empty values",
                "<wpt lat=\"1\" lon=\"2><name>A<desc>d</wpt>\r\n",
                {"WPT001", "1 ", ""}},
        GpxCase{"longitude before latitude takes the next point's longitude",
                "<wpt lon=\"2\" lat=\"1\"><name>A</name></wpt>\n<wpt lon=\"4\" lat=\"3\">"
                "<name>B</name></wpt>",
                {"WPT001", "1 4", "", "B", "3 ", ""}},
        GpxCase{"blank names are numbered so the list keeps its lines",
                "<wpt lat=\"1\" lon=\"2\"><name> </name></wpt><wpt lat=\"3\" lon=\"4\">"
                "<name></name><desc>d</desc></wpt>",
                {"WPT001", "1 2", "", "WPT002", "3 4", "d", ""}},
        GpxCase{"Ctrl+Z ends the input",
                "<wpt lat=\"1\" lon=\"2\"><name>A</name></wpt>\x1A<wpt lat=\"3\" lon=\"4\">"
                "<name>B</name></wpt>",
                {"A", "1 2", ""}}));

// A point whose markers and values straddle the boundary of the 64 KiB blocks
// in which the file is read, at every offset.
TEST(NavitelGpxChunks, PointAcrossBlockBoundary) {
    const std::string point =
        "<wpt lat=\"44.5\" lon=\"42.5\"><name>Имя &amp; Ко</name><desc>Д</desc></wpt>";
    const std::string expected = Ansi(CrLfLines({"Имя & Ко", "44.5 42.5", "Д", ""}));
    constexpr std::size_t kBlock = 1 << 16;
    for (std::size_t before = kBlock - point.size() - 2; before <= kBlock; ++before) {
        const auto result = Import(std::string(before, ' ') + point);
        ASSERT_EQ(result.output, expected) << "point starts at " << before;
    }
}

// Comments, declarations, quoted values and tag starts that straddle the block
// boundary at every offset leave the markup position as one block would.
TEST(NavitelGpxChunks, MarkupAcrossBlockBoundary) {
    const std::string markup =
        "<?xml version=\"1.0\" x=' lat=\"7\"'?>\r\n<!-- <wpt lat=\"8\" lon=\"8\"> -->"
        "<wpt note=' lat=\"0\" a > b' lat=\"1\" cmt='x lon=\"9\"' lon=\"2\">"
        "<name>A lat=\"3\"</name></wpt>< lat=\"5\" lon=\"6\"><name>B</name></wpt>";
    const std::string expected = CrLfLines({"A lat=\"3\"", "1 2", "", "B", "5 6", ""});
    ASSERT_EQ(Import(markup).output, expected);
    constexpr std::size_t kBlock = 1 << 16;
    for (std::size_t before = kBlock - markup.size(); before <= kBlock; ++before) {
        const auto result = Import(std::string(before, ' ') + markup);
        ASSERT_EQ(result.output, expected) << "markup starts at " << before;
    }
}

TEST(NavitelGpxChunks, ValueLongerThanSeveralBlocks) {
    const std::string desc(300000, 'x');
    const auto result = Import("<wpt lat=\"1\" lon=\"2\"><name>A</name><desc>" + desc +
                               "</desc></wpt>" + std::string(200000, ' '));
    EXPECT_EQ(result.output, CrLfLines({"A", "1 2", desc, ""}));
}

// Linear in the number of markers: a million of them end well within the bound.
TEST(NavitelGpxChunks, MillionMarkersEndQuickly) {
    std::string attributes = "<wpt";
    std::string bare, packed;
    for (int i = 0; i < 1000000; ++i) {
        attributes += " lat=\"\"";
        bare += " lat=\"";
        packed += "lat=\"";
    }
    const auto start = std::chrono::steady_clock::now();
    const auto points = Import(attributes);
    const auto inText = Import(bare);
    const auto noSpaces = Import("<wpt " + packed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    const auto lineCount = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lineCount(points.output), 1000000 * 3);
    EXPECT_TRUE(points.output.starts_with("WPT001\r\n \r\n\r\nWPT002\r\n \r\n\r\n"));
    EXPECT_TRUE(points.output.ends_with("WPT1000000\r\n \r\n\r\n"));
    EXPECT_TRUE(inText.output.empty());
    EXPECT_EQ(lineCount(noSpaces.output), 3);
}

struct GoldenCase {
    const char* gpx;
    const char* list;
};

class NavitelGpxGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(NavitelGpxGolden, MatchesGoldenList) {
    const auto result = Import(ReadBytes(DataFile(GetParam().gpx)));
    EXPECT_EQ(result.output, ReadBytes(DataFile(GetParam().list)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, NavitelGpxGolden,
    ::testing::Values(GoldenCase{"gpx/navitel_export.gpx", "gpx/navitel_export_nav.txt"},
                      GoldenCase{"gpx/gpsbabel_1_8_0.gpx", "gpx/gpsbabel_1_8_0_nav.txt"}));

}  // namespace
}  // namespace oradel
