#include "engine/web_page_writer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "engine/errors.hpp"
#include "engine/test_support.hpp"
#include "engine/web_page_parts.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::Windows1251;
using testing::WriteBytes;

using testing::OptionChanges;
using testing::WithChanges;

const OptionChanges kSomeLinksAndFinesOnly = {
    {"cFI", "0"},
    {"cRS", "0"},
    {"CheckBox6", "0"},
    {"CheckBox7", "0"},
    {"CheckBox8", "0"},
    {"CheckBox20", "0"},
    {"CheckBox9", "0"},
    {"CheckBox13", "1"},
    {"CheckBox11", "0"},
    {"CheckBox14", "0"},
    {"CheckBox12", "0"},
    {"CheckBox16", "0"},
    {"CheckBox17", "0"},
    {"CheckBox18", "0"},
    {"Edit1", Windows1251("А000AA")},
    {"Edit2", "777"},
    {"Edit3", "99AA999999"},
};

const OptionChanges kNoLinksNoApplications = {
    {"CheckBox6", "0"},  {"CheckBox7", "0"},  {"CheckBox8", "0"},  {"CheckBox20", "0"},
    {"CheckBox9", "0"},  {"CheckBox10", "0"}, {"CheckBox11", "0"}, {"CheckBox12", "0"},
    {"CheckBox21", "0"}, {"CheckBox16", "0"}, {"CheckBox17", "0"}, {"CheckBox18", "0"},
    {"CheckBox19", "0"},
};

struct GoldenCase {
    const char* golden;  // under tests/data/web
    std::string list;    // Windows-1251 bytes; empty: the shared points.txt
    OptionChanges changes;
};

class WebPageGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

// Set ORADEL_UPDATE_GOLDEN=1 to rewrite the golden pages after a deliberate
// change; review every difference before keeping it.
TEST_P(WebPageGoldenTest, MatchesGoldenPage) {
    const GoldenCase& c = GetParam();
    const std::string list = c.list.empty() ? ReadBytes(DataFile("web/points.txt")) : c.list;
    const auto result = Convert(4, list, WithChanges(c.changes), "Кавказ.весна.txt");
    ASSERT_TRUE(result.messages.empty());
    const fs::path golden = DataFile(std::string("web/") + c.golden);
    if (std::getenv("ORADEL_UPDATE_GOLDEN") != nullptr) WriteBytes(golden, result.output);
    EXPECT_EQ(result.output, ReadBytes(golden)) << c.golden;
}

const std::string kNoPoints = "\x1a";  // Ctrl+Z ends the list at once
const std::string kOnePoint = Windows1251(CrLfLines({":Север", "Поляна", "44.2 42.61", "луг"}));

INSTANTIATE_TEST_SUITE_P(
    Options, WebPageGoldenTest,
    ::testing::Values(GoldenCase{"defaults.htm", "", {}},
                      GoldenCase{"blocks_open.htm", "", {{"cRS2", "1"}}},
                      GoldenCase{"no_filter.htm", "", {{"cFI", "0"}}},
                      GoldenCase{"filter_without_blocks.htm", "", {{"cRS", "0"}}},
                      GoldenCase{"some_links_fines_only.htm", kOnePoint, kSomeLinksAndFinesOnly},
                      GoldenCase{"no_tags_no_links.htm", kOnePoint, kNoLinksNoApplications},
                      GoldenCase{"empty_list.htm", kNoPoints, {}}));

std::vector<std::string> Lines(const std::string& page) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = page.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(page.substr(start, end - start));
    }
    EXPECT_EQ(start, page.size()) << "the page ends with CR LF";
    return lines;
}

TEST(WebPageTitle, IsTheFileNameUpToItsFirstDot) {
    const struct {
        std::string inputName;
        std::string title;  // UTF-8
    } cases[] = {
        {"Alps.points.txt", "Alps"},
        {"Горы Кавказа.txt", "Горы Кавказа"},
        {"list", ""},
        {"\xcf\xee\xeb\xff.txt", "Поля"},  // a name in Windows-1251 bytes
        {"a\nb\x1a"
         "c.txt",
         "a b c"},  // control characters would end the line or the page
    };
    for (const auto& c : cases) {
        const auto result = Convert(4, "", WithChanges({{"cFI", "0"}}), c.inputName);
        const std::vector<std::string> lines = Lines(result.output);
        ASSERT_GE(lines.size(), 9u);
        EXPECT_EQ(lines[2], "<title> " + c.title + " </title>") << c.inputName;
        EXPECT_EQ(lines[8], "<h3><font color=#1E90FF>" + c.title + "</font></h3><p>");
    }
}

// Which labels, links and line breaks a point gets from the eleven link boxes:
// a group is written only with one of its links, and its "<br>" follows the
// "нов. строка" box (always for the terrain group).
struct LinkGroupCase {
    const char* label;
    std::string coordinates;
    std::vector<std::string> ticked;  // the link boxes ticked; all others clear
    std::vector<std::string> lines;   // UTF-8, between the coordinates and the comments
};

TEST(WebPageLinkLines, GroupsFollowTheirBoxes) {
    const std::vector<std::string> linkBoxes = {
        "CheckBox6",  "CheckBox7",  "CheckBox8",  "CheckBox20", "CheckBox9", "CheckBox13",
        "CheckBox10", "CheckBox11", "CheckBox14", "CheckBox12", "CheckBox21"};
    const LinkGroupCase cases[] = {
        {"no box", "1 2", {}, {}},
        {"line-break boxes alone write nothing", "1 2", {"CheckBox13", "CheckBox14"}, {}},
        {"height map alone still ends its group with a line break",
         "1 2",
         {"CheckBox21"},
         {" Карта: ",
          "<a href=\"https://contourmapcreator.urgr8.ch/#1,2,15z,1,2i,tb,0v30l\" "
          "target=\"_blank\">Высот</a> ",
          "<br>"}},
        {"weather without its line break",
         "1 2",
         {"CheckBox9", "CheckBox14"},
         {" Погода: ",
          "<a href=\"https://earth.nullschool.net/ru/#current/wind/surface/level/"
          "orthographic=2,1,3226/loc=2,1\" target=\"_blank\">Карта ветров</a> , "}},
        {"only the map group gets its line break; decimal commas read as points",
         "45,9 6,75",
         {"CheckBox11", "CheckBox14", "CheckBox8"},
         {" Погода: ",
          "<a href=\"https://yandex.ru/pogoda/maps/nowcast?le_Lightning=1&ll=6.75_45.9&z=14\" "
          "target=\"_blank\">Yandex</a> , ",
          " На карте: ",
          "<a "
          "href=\"https://yandex.ru/maps/?ll=6.75%2C45.9&mode=search&sll=6.75%2C45.9&text=45.9%2C6."
          "75&z=14\" target=\"_blank\">Yandex</a> , ",
          "<br>"}},
        {"no links for coordinates that cannot be read", "45.9", linkBoxes, {}},
        {"nor for a longitude beyond 180", "45.9 180.5", linkBoxes, {}},
    };
    for (const LinkGroupCase& c : cases) {
        OptionChanges changes = {{"cFI", "0"},        {"cRS", "0"},        {"CheckBox16", "0"},
                                 {"CheckBox17", "0"}, {"CheckBox18", "0"}, {"CheckBox19", "0"}};
        for (const std::string& box : linkBoxes) {
            const bool ticked = std::find(c.ticked.begin(), c.ticked.end(), box) != c.ticked.end();
            changes.emplace_back(box, ticked ? "1" : "0");
        }
        const auto result = Convert(4, CrLfLines({"A", c.coordinates, "c"}), WithChanges(changes));
        const std::vector<std::string> lines = Lines(result.output);
        // Page start (9 lines), name, coordinates, the link lines, then the comment "c".
        const auto comment = std::find(lines.begin(), lines.end(), "c");
        ASSERT_GE(comment - lines.begin(), 11) << c.label;
        const std::vector<std::string> links(lines.begin() + 11, comment);
        EXPECT_EQ(links, c.lines) << c.label;
    }
}

// More than 500 distinct words, and words far longer than 100 characters,
// each give one working button, in order of first appearance.
TEST(WebPageFilterWords, KeepsEveryDistinctWordWhole) {
    const std::string longWord(150, 'w');
    std::vector<std::string> listLines;
    std::vector<std::string> expectedButtons;
    auto expect = [&](const std::string& word) {
        expectedButtons.push_back("<button class=\"btn\" onclick=\"filterSelection('f-" + word +
                                  "')\">" + word + "</button>");
    };
    for (int i = 0; i < 600; ++i) {
        const std::string word = "w" + std::to_string(i);
        listLines.insert(listLines.end(), {"P <" + word + " w0 " + longWord + ">", "1 2", ""});
        expect(word);
        if (i == 0) expect(longWord);
    }
    const auto result = Convert(4, CrLfLines(listLines));
    const std::vector<std::string> lines = Lines(result.output);
    std::vector<std::string> buttons;
    for (const std::string& line : lines) {
        if (line.starts_with("<button class=\"btn\" onclick=\"filterSelection('")) {
            buttons.push_back(line);
        }
    }
    EXPECT_EQ(buttons, expectedButtons);
    EXPECT_NE(result.output.find("<div class=\"filterDiv f-w599 f-w0 f-" + longWord + "\">"),
              std::string::npos);
}

std::vector<std::string> FolderContents(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The pending page is gone after the job, whether the page could be written or not.
TEST(WebPagePendingFile, NeverOutlivesTheJob) {
    const std::function<void(const fs::path&)> nothing = [](const fs::path&) {};
    const std::function<void(const fs::path&)> blockPage = [](const fs::path& folder) {
        fs::create_directory(folder / "list.htm");
    };
    const struct {
        std::function<void(const fs::path&)> prepare;
        bool fails;
    } cases[] = {{nothing, false}, {blockPage, true}};
    for (const auto& c : cases) {
        ScratchFolder folder;
        WriteBytes(folder / "list.txt", CrLfLines({"A <N>", "1 2"}));
        c.prepare(folder.Path());
        testing::RecordingMessages messages;
        const auto run = [&] {
            RunConversion(*FindConversionMode(4), folder / "list.txt", Options(), messages);
        };
        if (c.fails) {
            EXPECT_THROW(run(), UserError);
        } else {
            run();
            EXPECT_NE(ReadBytes(folder / "list.htm").find("filterSelection('f-N')"),
                      std::string::npos);
        }
        EXPECT_EQ(FolderContents(folder.Path()),
                  (std::vector<std::string>{"list.htm", "list.txt"}));
        EXPECT_TRUE(messages.messages.empty());
    }
}

}  // namespace
}  // namespace oradel
