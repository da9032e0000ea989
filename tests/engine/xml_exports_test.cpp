// The GPX (mode 7) and KML (mode 8) exports: the golden files, the rules
// both share as one table, and the CDATA text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/test_support.hpp"
#include "engine/xml_text.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::DataFile;
using testing::ReadBytes;
using testing::Windows1251;

constexpr int kGpx = 7;
constexpr int kKml = 8;

TEST(XmlExports, WriteTheGoldenFiles) {
    const std::string list = ReadBytes(DataFile("gpx_export/points.txt"));
    const std::vector<LeftOutPoint> leftOut = {{3, Windows1251("Плохая точка <X>")}};
    for (const auto& [mode, golden] :
         {std::pair{kGpx, "gpx_export/points_wpt.gpx"}, std::pair{kKml, "kml/points.kml"}}) {
        const auto result = Convert(mode, list, Options(), "points.txt");
        EXPECT_EQ(result.output, ReadBytes(DataFile(golden))) << golden;
        EXPECT_EQ(result.outcome.leftOut, leftOut) << golden;
        EXPECT_TRUE(result.messages.empty()) << golden;
    }
}

// Each rule with what it gives in either file.
TEST(XmlExports, FollowTheirRules) {
    const struct {
        const char* rule;
        std::string list;  // readable UTF-8, converted to Windows-1251
        std::vector<std::string> gpx, kml;
        std::string fileName = "list.txt";
    } cases[] = {
        {"a longitude of 180 is -180 in the GPX, which the schema takes",
         "A\r\n-10 180\r\n",
         {"<wpt lat=\"-10\" lon=\"-180\">"},
         {"<coordinates>180,-10</coordinates>"}},
        {"a section goes on past a point left out; an empty heading ends it",
         ":Юг\r\nПлохо\r\nnan 1\r\n\r\nA\r\n1 2\r\n\r\n:\r\nB\r\n3 4\r\n",
         {"<name>A</name>\n  <type>Юг</type>\n</wpt>", "<name>B</name>\n</wpt>"},
         {"<Folder>\n    <name>Юг</name>\n    <Placemark>\n      <name>A</name>",
          "</Folder>\n  <Folder>\n    <name></name>\n    <Placemark>\n      <name>B</name>"}},
        {"of two headings in a row the first is an empty section",
         ":Кавказ\r\n:Эльбрус\r\nA\r\n1 2\r\n",
         {"<type>Эльбрус</type>"},
         {"<name>Кавказ</name>\n  </Folder>\n  <Folder>\n    <name>Эльбрус</name>"}},
        {"control characters become spaces, runs of spaces in names one",
         "A\x01\x02  B <Ю> \r\n1 2\r\nc\x1f"
         "d\ttab\r\n",
         {"<name>A B</name>", "<desc>c d tab</desc>"},
         {"<name>A B</name>", "<![CDATA[c d tab]]>"}},
        {"the list's name is its file name without the last extension, escaped",
         "A\r\n1 2\r\n",
         {"<metadata>\n  <name>a&amp;b &lt;c&gt;.v2</name>"},
         {"<Document>\n  <name>a&amp;b &lt;c&gt;.v2</name>"},
         "a&b <c>.v2.txt"},
        {"a file name that is not UTF-8 is read as Windows-1251",
         "A\r\n1 2\r\n",
         {"<name>Пик</name>"},
         {"<name>Пик</name>"},
         Windows1251("Пик.txt")},
    };
    for (const auto& c : cases) {
        for (const auto& [mode, fragments] : {std::pair{kGpx, &c.gpx}, std::pair{kKml, &c.kml}}) {
            const std::string output =
                Convert(mode, Windows1251(c.list), Options(), c.fileName).output;
            for (const std::string& fragment : *fragments) {
                EXPECT_NE(output.find(fragment), std::string::npos)
                    << c.rule << ", mode " << mode << ":\n"
                    << output;
            }
        }
    }
}

// "]]>" never ends the section early, however the pieces split it.
TEST(CdataText, SplitsEveryClosingSequence) {
    const struct {
        std::vector<std::string> pieces;
        std::string written;
    } cases[] = {
        {{"a]]>b"}, "a]]]]><![CDATA[>b"},
        {{"a]", "]", ">b"}, "a]]]]><![CDATA[>b"},
        {{"]]]>]]>"}, "]]]]]><![CDATA[>]]]]><![CDATA[>"},
        {{"]>", "]", "x>"}, "]>]x>"},
        {{"\x01\x7f"}, " \x7f"},
    };
    for (const auto& c : cases) {
        CdataText text;
        std::string out;
        for (const std::string& piece : c.pieces) text.Append(out, piece);
        EXPECT_EQ(out, c.written) << c.pieces.front();
    }
}

}  // namespace
}  // namespace oradel
