#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Ansi;
using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;

const std::string kHeader = CrLfLines({"G  WGS 84", "U  1"});

// Expected waypoint lines are readable UTF-8 with "{BA}" for the raw degree
// byte and a final "|N" for N padding spaces.
std::string Expected(const std::string& line) {
    const std::size_t bar = line.rfind('|');
    std::string text = Ansi(line.substr(0, bar));
    if (bar != std::string::npos) text.append(std::stoul(line.substr(bar + 1)), ' ');
    for (std::size_t at = text.find("{BA}"); at != std::string::npos; at = text.find("{BA}")) {
        text.replace(at, 4, "\xBA");
    }
    return text;
}

struct Lk8000Case {
    const char* label;
    std::string list;  // readable UTF-8, converted to Windows-1251
    std::vector<std::string> lines;
};

void PrintTo(const Lk8000Case& c, std::ostream* os) {
    *os << c.label;
}

class LK8000WaypointsTest : public ::testing::TestWithParam<Lk8000Case> {};

TEST_P(LK8000WaypointsTest, WritesWaypointLines) {
    const Lk8000Case& c = GetParam();
    std::vector<std::string> lines;
    for (const std::string& line : c.lines) lines.push_back(Expected(line));
    const auto result = Convert(5, Ansi(c.list));
    EXPECT_EQ(result.output, kHeader + CrLfLines(lines)) << c.label;
    EXPECT_EQ(result.outcome.output.filename(), "list_lk8.wpt");
}

const char* const kFixed = " 27-MAR-62 00:00:00 0.000000 ";

INSTANTIATE_TEST_SUITE_P(
    Lines, LK8000WaypointsTest,
    ::testing::Values(
        Lk8000Case{"empty list", "", {}}, Lk8000Case{"blank lines only", "\r\n  \r\n\t\r\n", {}},
        Lk8000Case{"worked example",
                   ":Кавказ\r\nХолм Ветров <Ю ЮЗ>\r\n44.1234 42.5678\r\nСтарт с юга, ветер "
                   "Ю\r\nВторой комментарий\r\n",
                   {"W Kholm_Vetrov A 44.1234{BA}N 42.5678{BA}E 27-MAR-62 00:00:00 0.000000 "
                    "Start s yuga, veter Yu"}},
        Lk8000Case{"no comment keeps the trailing space, padded to 65",
                   "A\r\n1 2\r\n\r\nB\r\n3 4",
                   {std::string("W A A 1{BA}N 2{BA}E") + kFixed + "|23",
                    std::string("W B A 3{BA}N 4{BA}E") + kFixed + "|23"}},
        Lk8000Case{"tag-only name gives W  A",
                   "<W NW>\r\n1 2\r\n",
                   {std::string("W  A 1{BA}N 2{BA}E") + kFixed + "|24"}},
        Lk8000Case{"one underscore per space, second tag stays",
                   "  Col  du <a> x <b c>  \r\n45.1 6.2\r\n",
                   {std::string("W Col__du__x_<b_c> A 45.1{BA}N 6.2{BA}E") + kFixed + "|3"}},
        Lk8000Case{"names cut to 16 after transliteration",
                   "Abcdefghij klmnopq\r\n1 2\r\n\r\nЩелково Большое\r\n1 2\r\n",
                   {std::string("W Abcdefghij_klmno A 1{BA}N 2{BA}E") + kFixed + "|8",
                    std::string("W Shchelkovo_Bol's A 1{BA}N 2{BA}E") + kFixed + "|8"}},
        Lk8000Case{"cut inside a long form, long names",
                   "Аааааааааааааащщщ\r\n1 2\r\n\r\n" + std::string(300, 'x') +
                       "\r\n1 2\r\n\r\nЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮЮ\r\n1 "
                       "2\r\n\r\nЯ\r\n1 2\r\n",
                   {std::string("W Aaaaaaaaaaaaaash A 1{BA}N 2{BA}E") + kFixed + "|8",
                    std::string("W xxxxxxxxxxxxxxxx A 1{BA}N 2{BA}E") + kFixed + "|8",
                    std::string("W YuYuYuYuYuYuYuYu A 1{BA}N 2{BA}E") + kFixed + "|8",
                    std::string("W Ya A 1{BA}N 2{BA}E") + kFixed + "|22"}},
        Lk8000Case{"minus sign becomes S or W, decimal comma and plus kept",
                   "A\r\n-44,5 -0.25\r\n\r\nB\r\n+6.8 -\r\n",
                   {std::string("W A A 44,5{BA}S 0.25{BA}W") + kFixed + "|17",
                    std::string("W B A +6.8{BA}N {BA}W") + kFixed + "|21"}},
        Lk8000Case{"coordinate line without space",
                   "A\r\n45.9\r\n",
                   {std::string("W A A 45.9{BA}N {BA}E") + kFixed + "|21"}},
        Lk8000Case{"a third value stays in the longitude",
                   "A\r\n44.1 42.2  1200\r\n",
                   {std::string("W A A 44.1{BA}N 42.2  1200{BA}E") + kFixed + "|11"}},
        Lk8000Case{"first comment only, transliterated then trimmed",
                   "A\r\n1 2\r\n  Ура, ветер ъь \r\nвторой\r\n",
                   {std::string("W A A 1{BA}N 2{BA}E") + kFixed + "Ura, veter ''|10"}},
        Lk8000Case{"letters outside the table pass unchanged",
                   "Гай № 5 іїє\r\n1 2\r\n",
                   {std::string("W Gay_№_5_іїє A 1{BA}N 2{BA}E") + kFixed + "|13"}},
        Lk8000Case{"list ending with a heading line",
                   "A\r\n1 2\r\n\r\n:Конец",
                   {std::string("W A A 1{BA}N 2{BA}E") + kFixed + "|23",
                    std::string("W  A {BA}N {BA}E") + kFixed + "|26"}},
        Lk8000Case{"long lines are not cut",
                   "Верхнее плато Лаго-Наки\r\n44.0123456789 40.0123456789\r\nДлинный "
                   "комментарий без ограничения длины строки\r\n",
                   {std::string("W Verkhnee_plato_L A 44.0123456789{BA}N 40.0123456789{BA}E") +
                    kFixed + "Dlinnyy kommentariy bez ogranicheniya dliny stroki"}}));

TEST(LK8000WaypointsGolden, VariedListMatchesGoldenFile) {
    const auto result =
        Convert(5, ReadBytes(DataFile("lk8000/points.txt")), Options(), "points.txt");
    EXPECT_EQ(result.output, ReadBytes(DataFile("lk8000/points_lk8.wpt")));
}

// Reads a waypoint line the way LK8000 does: fields separated by exactly one
// space, a name of at most 16 characters, coordinates ending in the degree
// byte and the hemisphere letter, the fixed date and time, at least 65
// characters in all. Returns the name and the signed coordinate texts.
struct ReadWaypoint {
    std::string name, lat, lon;
};

::testing::AssertionResult ReadLikeLk8000(std::string_view line, ReadWaypoint& point) {
    auto fail = [&](const char* why) {
        return ::testing::AssertionFailure() << why << " in \"" << line << "\"";
    };
    if (line.size() < 65) return fail("shorter than 65 characters");
    if (!line.starts_with("W ")) return fail("no W field");
    line.remove_prefix(2);
    const std::size_t nameEnd = line.find(' ');
    if (nameEnd == std::string_view::npos || nameEnd > 16) return fail("name over 16 characters");
    point.name = line.substr(0, nameEnd);
    line.remove_prefix(nameEnd + 1);
    if (!line.starts_with("A ")) return fail("no A field");
    line.remove_prefix(2);
    for (auto [target, positive, negative] :
         {std::tuple{&point.lat, 'N', 'S'}, std::tuple{&point.lon, 'E', 'W'}}) {
        const std::size_t end = line.find(' ');
        if (end == std::string_view::npos || end < 2 || line[end - 2] != '\xBA') {
            return fail("no degree byte");
        }
        const char hemisphere = line[end - 1];
        if (hemisphere != positive && hemisphere != negative) return fail("no hemisphere");
        *target =
            std::string(hemisphere == negative ? "-" : "") + std::string(line.substr(0, end - 2));
        line.remove_prefix(end + 1);
    }
    if (!line.starts_with("27-MAR-62 00:00:00 0.000000 ")) return fail("no fixed fields");
    return ::testing::AssertionSuccess();
}

TEST(LK8000WaypointsReaderRules, EveryLineReadsBackAsLk8000ReadsIt) {
    const auto result = Convert(5, ReadBytes(DataFile("lk8000/points.txt")));
    const std::vector<ReadWaypoint> expected = {
        {"Kholm_Vetrov", "44.1234", "42.5678"},     {"", "-33.9", "-70.25"},
        {"Verkhnee_plato_L", "44,0123", "40,0123"}, {"A", "-0.5", "-179.5"},
        {"Pik_Ushba", "43.125", "42.65"},           {"Shchel'_Yuzhnaya", "-1", "2"}};
    std::string_view rest(result.output);
    ASSERT_TRUE(rest.starts_with(kHeader));
    rest.remove_prefix(kHeader.size());
    std::size_t index = 0;
    for (std::size_t end = rest.find("\r\n"); end != std::string_view::npos;
         end = rest.find("\r\n")) {
        ReadWaypoint point;
        ASSERT_TRUE(ReadLikeLk8000(rest.substr(0, end), point));
        ASSERT_LT(index, expected.size());
        EXPECT_EQ(point.name, expected[index].name);
        EXPECT_EQ(point.lat, expected[index].lat);
        EXPECT_EQ(point.lon, expected[index].lon);
        rest.remove_prefix(end + 2);
        ++index;
    }
    EXPECT_TRUE(rest.empty());
    EXPECT_EQ(index, expected.size());
}

}  // namespace
}  // namespace oradel
