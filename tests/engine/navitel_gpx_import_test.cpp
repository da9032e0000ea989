#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/errors.hpp"
#include "engine/test_support.hpp"
#include "engine/xml_tokens.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::Windows1251;

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
    EXPECT_EQ(result.output, Windows1251(CrLfLines(c.lines))) << c.label;
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
                "<gpx>lat=\"0\" <wpt\tlat=\"1\"\nlon=\"2\" xlon=\"9\"><name>A</name></wpt>",
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
                {"A & B ‹C› \"q\" 's'", "1 2", ""}},
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
                {"Холм e € ? №", "1 2", " Ветер ", ""}},
        GpxCase{"a Windows-1251 value is taken as it stands",
                Windows1251("<wpt lat=\"1\" lon=\"2\"><name>Гора &amp; лес</name><desc>ёлка</desc>"
                            "</wpt>"),
                {"Гора & лес", "1 2", "ёлка", ""}},
        GpxCase{"the code page is decided per value",
                "<wpt lat=\"1\" lon=\"2\"><name>Гора</name><desc>" + Windows1251("Поляна") +
                    "</desc></wpt><wpt lat=\"3\" lon=\"4\"><name>" + Windows1251("Луг") +
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
                {"  A  ", "1 2", ""}},
        GpxCase{"coordinates copied as written",
                "<wpt lat=\"-44.123456789\" lon=\"+042.5\"><name>A</name></wpt>",
                {"A", "-44.123456789 +042.5", ""}},
        GpxCase{"track and route points are points too",
                "<trkpt lat=\"5\" lon=\"6\"><ele>100</ele></trkpt><rtept lat=\"7\" lon=\"8\">"
                "<name>R</name></rtept>",
                {"WPT001", "5 6 100", "", "R", "7 8", ""}},
        GpxCase{"a point without name keeps the next point intact",
                "<wpt lat=\"1\" lon=\"2\"></wpt><wpt lat=\"3\" lon=\"4\"><name>B</name>"
                "<desc>b</desc></wpt>",
                {"WPT001", "1 2", "", "B", "3 4", "b", ""}},
        GpxCase{"a tag whose quote never closes holds no point",
                "<wpt lat=\"5\" lon=\"6\"><name>B</name></wpt>"
                "<wpt lat=\"1\" lon=\"2><name>A<desc>d</wpt>\r\n",
                {"B", "5 6", ""}},
        GpxCase{"a missing lon gives an empty value",
                "<wpt lat=\"1\"><name>A</name><desc>d</desc></wpt>\r\n",
                {"A", "1 ", "d", ""}},
        GpxCase{"blank names are numbered so the list keeps its lines",
                "<wpt lat=\"1\" lon=\"2\"><name> </name></wpt><wpt lat=\"3\" lon=\"4\">"
                "<name></name><desc>d</desc></wpt>",
                {"WPT001", "1 2", "", "WPT002", "3 4", "d", ""}},
        GpxCase{"Ctrl+Z is an ordinary byte",
                "<wpt lat=\"1\" lon=\"2\"><name>A\x1A</name></wpt>\x1A<wpt lat=\"3\" lon=\"4\">"
                "<name>B</name></wpt>",
                {"A ", "1 2", "", "B", "3 4", ""}}));

// GPX as other programs write it: attributes in any order and quoting,
// comments, CDATA, tracks and routes around the points.
INSTANTIATE_TEST_SUITE_P(
    Writers, NavitelGpxTest,
    ::testing::Values(
        GpxCase{"lon first, single quotes, blanks around =",
                "<wpt lon = '42.5'\r\n   lat= \"44.1\" ><name>A</name></wpt>"
                "<wpt lon='1' lat='2'><name>B</name></wpt>",
                {"A", "44.1 42.5", "", "B", "2 1", ""}},
        GpxCase{"CDATA names are kept, references inside them are not decoded",
                "<wpt lat='1' lon='2'><name><![CDATA[Гора <Юг> &amp; \"пик\"]]></name>"
                "<desc>a<![CDATA[]]>b<![CDATA[ & ]]>&lt;c</desc></wpt>",
                {"Гора ‹Юг› &amp; \"пик\"", "1 2", "ab & ‹c", ""}},
        GpxCase{"commented-out points are not imported",
                "<!-- <wpt lat='1' lon='2'><name>Old</name></wpt> -->\r\n"
                "<wpt lat='3' lon='4'><!-- <name>X</name> --><name>New</name></wpt>"
                "<!--<wpt lat='5' lon='6'/>-->",
                {"New", "3 4", ""}},
        GpxCase{"a point never takes the name of a following track or route",
                "<wpt lat='1' lon='2'></wpt><trk><name>Track</name><desc>t</desc><trkseg>"
                "<trkpt lat='3' lon='4'><ele>5</ele></trkpt></trkseg></trk>"
                "<rte><name>Route</name><rtept lat='5' lon='6'><name>P</name></rtept></rte>",
                {"WPT001", "1 2", "", "WPT002", "3 4 5", "", "P", "5 6", ""}},
        GpxCase{"only the point's own name and desc, the first of each",
                "<wpt lat='1' lon='2'><extensions><name>X</name><desc>x</desc></extensions>"
                "<name>A</name><name>B</name><desc>d</desc><desc>e</desc></wpt>",
                {"A", "1 2", "d", ""}},
        GpxCase{"namespace prefixes, declarations and instructions",
                "<?xml version='1.0'?><!DOCTYPE gpx [<!ENTITY x '<wpt lat=\"9\">'>]>"
                "<?style <wpt lat='8'/>?><g:gpx><g:wpt g:lat='1' g:lon='2'><g:name>A</g:name>"
                "</g:wpt></g:gpx>",
                {"A", "1 2", ""}},
        GpxCase{"a point left open ends at the next point",
                "<wpt lat='1' lon='2'><name>A</name><wpt lat='3' lon='4'/>",
                {"A", "1 2", "", "WPT001", "3 4", ""}},
        GpxCase{"list syntax in imported text stays text",
                "<wpt lat='1' lon='2'><name>:: :Гора [x] {y}</name>"
                "<desc>:a &lt;b&gt; [c|d] {e}\td</desc></wpt>"
                "<wpt lat='3' lon='4'><name>&lt;Ю&gt;</name></wpt>",
                {"Гора (x) (y)", "1 2", ":a ‹b› (c¦d) (e) d", "", "‹Ю›", "3 4", ""}}));

// The declared encoding decides how bytes read; characters Windows-1251
// lacks are replaced, and the job says how many names and comments it touched.
struct EncodingCase {
    const char* label;
    std::string gpx;
    std::vector<std::string> lines;  // readable UTF-8, converted to Windows-1251
    std::vector<std::string> messages;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.label;
}

class NavitelGpxEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(NavitelGpxEncoding, ReadsDeclaredEncodingAndReportsReplacements) {
    const EncodingCase& c = GetParam();
    const auto result = Import(c.gpx);
    EXPECT_EQ(result.output, Windows1251(CrLfLines(c.lines)));
    EXPECT_EQ(result.messages, c.messages);
}

std::string Replaced(int count) {
    return "Символы, которых нет в кодировке Windows-1251, заменены: " + std::to_string(count);
}

std::string Point(const std::string& name, const std::string& desc) {
    return "<wpt lat='1' lon='2'><name>" + name + "</name><desc>" + desc + "</desc></wpt>";
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, NavitelGpxEncoding,
    ::testing::Values(
        EncodingCase{"ISO-8859-1",
                     "<?xml version='1.0' encoding='ISO-8859-1'?>" + Point("Stra\xDF"
                                                                           "e M\xFCnchen",
                                                                           "caf\xE9 \x80"),
                     {"Strasse Munchen", "1 2", "cafe ?", ""},
                     {Replaced(2)}},
        EncodingCase{"Windows-1252",
                     "<?xml version=\"1.0\" encoding = \"windows-1252\" ?>" + Point("\x80 \x9C"
                                                                                    "uvre",
                                                                                    "\x93q\x94"),
                     {"€ oeuvre", "1 2", "“q”", ""},
                     {Replaced(1)}},
        EncodingCase{"Windows-1251",
                     "<?xml version='1.0' encoding='Windows-1251'?>" +
                         Point(Windows1251("Гора"), "\xC3\xEE\xF0\xE0 &#233;"),
                     {"Гора", "1 2", "Гора e", ""},
                     {Replaced(1)}},
        EncodingCase{"UTF-8 declared",
                     "<?xml version='1.0' encoding='utf-8'?>" + Point("Handelstraße", "Ωμέγα ş"),
                     {"Handelstrasse", "1 2", "????? s", ""},
                     {Replaced(2)}},
        EncodingCase{"undeclared UTF-8 and Windows-1251 values",
                     Point("Łódź", Windows1251("Юг")) + Point("Гора", "ok"),
                     {"Lodz", "1 2", "Юг", "", "Гора", "1 2", "ok", ""},
                     {Replaced(1)}},
        EncodingCase{"a declaration after the start is not one",
                     "<gpx/><?xml version='1.0' encoding='KOI8-R'?>" + Point("A", "b"),
                     {"A", "1 2", "b", ""},
                     {}}));

// A download cut short keeps its complete points and says that the last one
// is left out.
TEST(NavitelGpx, FileCutInsidePointKeepsTheCompletePoints) {
    const auto result = Import(
        "<gpx><wpt lat=\"1\" lon=\"2\"><name>A</name></wpt><wpt lat=\"3\"><name>B</name><de");
    EXPECT_EQ(result.output, CrLfLines({"A", "1 2", ""}));
    EXPECT_EQ(result.messages,
              std::vector<std::string>{"Файл обрывается внутри точки: последняя точка пропущена"});
}

TEST(NavitelGpxEncoding, UnknownEncodingIsAClearError) {
    const std::pair<std::string, std::string> cases[] = {
        {"<?xml version='1.0' encoding='KOI8-R'?>" + Point("A", "b"), "\"KOI8-R\""},
        {std::string("\xFF\xFE<\0?\0x\0", 8), "\"UTF-16\""},
    };
    for (const auto& [gpx, named] : cases) {
        const std::string message = testing::FailureOf([&] { Import(gpx); });
        EXPECT_NE(message.find(named), std::string::npos) << message;
        EXPECT_NE(message.find("Exported Waypoints.gpx"), std::string::npos) << message;
    }
}

// Declarations, comments, CDATA, references, quoted values, UTF-8 letters and
// tags that straddle the boundary of the 64 KiB blocks in which the file is
// read, at every offset, read as in one block.
TEST(NavitelGpxChunks, MarkupAcrossBlockBoundary) {
    const std::string markup =
        "<?xml version=\"1.0\" x=' lat=\"7\"'?>\r\n<!DOCTYPE gpx [<!ENTITY e \"x>\">]>"
        "<!-- <wpt lat=\"8\" lon=\"8\"> -->"
        "<wpt note=' lat=\"0\" a > b' lat=\"1\" cmt='x lon=\"9\"' lon=\"2\">"
        "<name>A <![CDATA[lat=\"3\" ]]]]><![CDATA[>]]></name><desc>&amp;d&#1070;Имя</desc></wpt>"
        "<rtept lat=\"5\" lon=\"6\"><name>B</name></rtept>";
    const std::string expected =
        Windows1251(CrLfLines({"A lat=\"3\" ))›", "1 2", "&dЮИмя", "", "B", "5 6", ""}));
    ASSERT_EQ(Import(markup).output, expected);
    constexpr std::size_t kBlock = 1 << 16;
    for (std::size_t before = kBlock - markup.size(); before <= kBlock; ++before) {
        const auto result = Import(std::string(before, ' ') + markup);
        ASSERT_EQ(result.output, expected) << "markup starts at " << before;
    }
}

// Text, CDATA, comments, instructions and document type declarations longer
// than a block: text and CDATA reach the value whole, the rest is skipped.
TEST(NavitelGpxChunks, TokensLongerThanSeveralBlocks) {
    const std::string x(300000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"<desc>" + x + "</desc>", x},
        {"<desc><![CDATA[" + x + "]]]]></desc>", x + "))"},
        {"<!--" + x + "-- --><desc>d</desc>", "d"},
        {"<?pi " + x + "?><desc>d</desc>", "d"},
        {"<!DOCTYPE gpx [" + x + "]><desc>d</desc>", "d"},
    };
    for (const auto& [inPoint, desc] : cases) {
        const auto result = Import("<wpt lat=\"1\" lon=\"2\"><name>A</name>" + inPoint + "</wpt>" +
                                   std::string(200000, ' '));
        EXPECT_EQ(result.output, CrLfLines({"A", "1 2", desc, ""})) << inPoint.substr(0, 12);
    }
}

TEST(NavitelGpxChunks, ManyAttributesMakeOnePoint) {
    std::string tag = "<wpt";
    for (int i = 0; i < 100000; ++i) tag += " lat=\"1\"";
    EXPECT_EQ(Import(tag + " lon='2'/>").output, CrLfLines({"WPT001", "1 2", ""}));
}

// A tag and the declaration are read whole, up to kMaxMarkupLength bytes: one
// that never closes fails the import with its line instead of filling memory.
TEST(NavitelGpxChunks, TagLongerThanTheLimitIsAClearError) {
    const std::string over(kMaxMarkupLength, 'x');
    for (const std::string& gpx : {"<gpx>\n<wpt lat=\"1\" note=\"" + over, "<gpx>\n</wpt " + over,
                                   "\n<?xml version='1.0' " + over}) {
        const std::string message = testing::FailureOf([&] { Import(gpx); });
        EXPECT_TRUE(message.starts_with("The tag at line 2 of \"")) << message;
        EXPECT_TRUE(message.ends_with(
            "Exported Waypoints.gpx\" is longer than 1000000 bytes; nothing was written."))
            << message;
    }
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
                      GoldenCase{"gpx/gpsbabel_1_8_0.gpx", "gpx/gpsbabel_1_8_0_nav.txt"},
                      GoldenCase{"gpx/declared_latin1.gpx", "gpx/declared_latin1_nav.txt"}));

}  // namespace
}  // namespace oradel
