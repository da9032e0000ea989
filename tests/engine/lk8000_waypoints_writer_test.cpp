#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::SplitLines;
using testing::Windows1251;

// ---------------------------------------------------------------------------
// An acceptance checker written from the readers' rules: LK8000 7.6.5 and
// later (every line trimmed), LK8000 7.5.6 (lines as read), each in its UTF-8
// build (Linux, Android, Kobo) and its UTF-16 build (Windows), and XCSoar.

// A waypoint as a reader took it.
struct ReadPoint {
    std::string name;
    double lat = 0;
    double lon = 0;
    std::string comment;
};

// A line that is not ASCII is read as Windows-1252; our lines hold no byte of
// 0x80..0x9F, where that differs from Latin-1. Code points, one per byte.
std::u32string Latin1(std::string_view line) {
    std::u32string text;
    for (const char c : line) text += static_cast<char32_t>(static_cast<unsigned char>(c));
    return text;
}

// The same line in a UTF-8 build: "º" is two units there, C2 BA.
std::string Utf8Units(const std::u32string& text) {
    std::string units;
    for (const char32_t c : text) {
        if (c < 0x80) {
            units += static_cast<char>(c);
        } else {
            units += static_cast<char>(0xC0 | (c >> 6));
            units += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return units;
}

template <typename Text>
Text Trimmed(const Text& line) {
    const auto blank = [](auto c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::size_t begin = 0, end = line.size();
    while (begin < end && blank(line[begin])) ++begin;
    while (end > begin && blank(line[end - 1])) --end;
    return line.substr(begin, end - begin);
}

template <typename Text>
std::string Narrow(const Text& text) {
    std::string bytes;
    for (const auto c : text) bytes += static_cast<char>(c);
    return bytes;
}

// ParseCOMPEWayPointString's rules on one line of code units; empty when
// the point is rejected, with the reason in `why`.
template <typename Text>
bool ParseCompeLine(const Text& s, const Text& degree, ReadPoint& point, std::string& why) {
    using Unit = typename Text::value_type;
    const auto at = [&](std::size_t i) { return i < s.size() ? s[i] : Unit(0); };
    const auto fail = [&](const char* reason) {
        why = reason;
        return false;
    };
    if (s.size() < 65) return fail("shorter than 65");
    if (at(0) != 'W' || at(1) != ' ') return fail("no W field");
    std::size_t i = at(2) == ' ' ? 3 : 2;
    if (at(i) == ' ') return fail("three blanks after W");
    const std::size_t nameStart = i;
    while (i < s.size() && s[i] != ' ') ++i;
    point.name = Narrow(s.substr(nameStart, std::min<std::size_t>(i - nameStart, 30)));
    if (at(i + 1) != 'A' || at(i + 2) != ' ') return fail("no A field");
    i += 3;
    double* targets[] = {&point.lat, &point.lon};
    const Unit hemispheres[2][2] = {{'N', 'S'}, {'E', 'W'}};
    for (int k = 0; k < 2; ++k) {
        const std::size_t p = s.find(degree, i);
        if (p == Text::npos) return fail("no degree sign");
        if (p - i > 15) return fail("coordinate over 15 units");
        const std::string text = Narrow(s.substr(i, p - i));
        *targets[k] = std::strtod(text.c_str(), nullptr);
        i = p + degree.size();
        if (at(i) == hemispheres[k][1]) {
            *targets[k] = -*targets[k];
        } else if (at(i) != hemispheres[k][0]) {
            return fail("no hemisphere letter");
        }
        if (at(i + 1) != ' ') return fail("no blank after the hemisphere");
        i += 2;
    }
    for (const char* field : {"date", "time"}) {
        const std::size_t p = s.find(' ', i);
        if (p == Text::npos) return fail(field);
        i = p + 1;
        if (i >= s.size() || s[i] == ' ') return fail(field);
    }
    if (s.size() < i + 8) return fail("line ends within 8 units of the altitude");
    const std::size_t p = s.find(' ', i);
    if (p == Text::npos) return fail("no blank after the altitude");
    if (p - i > 15) return fail("altitude over 15 units");
    // The reader takes the blank before the altitude and drops its last character.
    const std::string altitude = Narrow(s.substr(i - 1, p - i));
    char* end = nullptr;
    std::strtod(altitude.c_str(), &end);
    if (end == altitude.c_str() || *end != '\0') return fail("altitude");
    if (s.size() - (p + 1) > 499) return fail("comment over 499 units");
    point.comment = Narrow(s.substr(p + 1));
    if (std::fabs(point.lat) > 90 || std::fabs(point.lon) > 180) return fail("out of range");
    return true;
}

enum class Reader { Lk8000_76, Lk8000_756, XCSoar };

// XCSoar's CompeGPS line: fields between runs of blanks, the hemisphere
// letter anywhere before the next blank, no length limits.
bool ParseXCSoarLine(std::string_view line, ReadPoint& point, std::string& why) {
    why = "XCSoar rejects the line";
    if (!line.starts_with('W')) return false;
    std::size_t i = line.find_first_not_of(' ', 1);
    const std::size_t nameEnd = line.find(' ', i);
    if (i == std::string_view::npos || nameEnd == std::string_view::npos) return false;
    point.name = std::string(line.substr(i, nameEnd - i));
    i = line.find_first_not_of(' ', nameEnd);
    if (i == std::string_view::npos || line[i] != 'A') return false;
    i = line.find_first_not_of(' ', i + 1);
    for (double* target : {&point.lat, &point.lon}) {
        if (i == std::string_view::npos) return false;
        const std::string rest(line.substr(i));
        char* end = nullptr;
        *target = std::strtod(rest.c_str(), &end);
        if (end == rest.c_str()) return false;
        const std::size_t numberEnd = i + static_cast<std::size_t>(end - rest.c_str());
        const std::size_t tokenEnd = std::min(line.find(' ', i), line.size());
        const std::string_view tail = line.substr(numberEnd, tokenEnd - numberEnd);
        const std::size_t letter = tail.find_first_of("NnEeSsWw");
        if (letter == std::string_view::npos) return false;
        if (std::string_view("SsWw").find(tail[letter]) != std::string_view::npos) {
            *target = -*target;
        }
        i = line.find_first_not_of(' ', tokenEnd);
    }
    for (int field = 0; field < 2; ++field) {  // date and time
        i = line.find(' ', i);
        if (i == std::string_view::npos) return false;
        ++i;
    }
    char* end = nullptr;
    const std::string rest(line.substr(i));
    std::strtod(rest.c_str(), &end);
    const std::string_view comment(end);
    point.comment =
        std::string(comment.substr(std::min(comment.find_first_not_of(' '), comment.size())));
    return true;
}

// The points that one reader takes from a whole file; false when it
// refuses the file or a waypoint line, with the reason in `why`.
bool ReadFileAs(Reader reader, std::string_view bytes, std::vector<ReadPoint>& points,
                std::string& why) {
    if (!bytes.starts_with("G  WGS 84\r\nU  1\r\n")) {
        why = "header";
        return false;
    }
    const std::vector<std::string> lines = SplitLines(bytes);
    for (std::size_t n = 2; n < lines.size(); ++n) {
        const std::string& raw = lines[n];
        ReadPoint utf8Point, utf16Point;
        bool accepted = false;
        if (reader == Reader::XCSoar) {
            accepted = ParseXCSoarLine(raw, utf8Point, why);
            utf16Point = utf8Point;
        } else {
            std::u32string text = Latin1(raw);
            if (reader == Reader::Lk8000_76) text = Trimmed(text);
            if (reader == Reader::Lk8000_756 && Utf8Units(text).size() >= 1022) {
                why = "7.5.6 cuts lines of 1022 units";
                return false;
            }
            accepted = ParseCompeLine(Utf8Units(text), std::string("\xC2\xBA"), utf8Point, why) &&
                       ParseCompeLine(text, std::u32string(1, U'\xBA'), utf16Point, why);
        }
        if (!accepted) {
            why += " in \"" + raw + "\"";
            return false;
        }
        points.push_back(utf8Point);
    }
    return true;
}

constexpr Reader kReaders[] = {Reader::Lk8000_76, Reader::Lk8000_756, Reader::XCSoar};
const char* const kReaderNames[] = {"LK8000 7.6", "LK8000 7.5.6", "XCSoar"};

// Today's failing shapes, as LK8000 7.6 meets them: the checker refuses them.
TEST(LK8000Checker, RefusesWhatTheReadersRefuse) {
    const char* const lines[] = {
        "W A A 1\xBAN 2\xBA"
        "E 27-MAR-62 00:00:00 0.000000                          ",  // padding trimmed away
        "W Kholm_Vetrov_Vysokiy A 44.1234\xBAN 42.5678\xBA"
        "E 27-MAR-62 00:00:00 0.000000",  // no comment
        "W  A 44.1234\xBAN 42.5678\xBA"
        "E 27-MAR-62 00:00:00 0.000000 tag-only name gives W  A",
        "W Basecamp A 39.97386971488595\xBAN 2.5\xBA"
        "E 27-MAR-62 00:00:00 0.000000 seventeen characters",
        "W Long A 1.0000000000\xBAN 2.0000000000\xBA"
        "E 27-MAR-62 00:00:00 0.000000 ",
    };
    for (const char* line : lines) {
        std::vector<ReadPoint> points;
        std::string why;
        EXPECT_FALSE(
            ReadFileAs(Reader::Lk8000_76, CrLfLines({"G  WGS 84", "U  1", line}), points, why))
            << line;
    }
    std::vector<ReadPoint> points;
    std::string why;
    const std::string longComment =
        "W A A 1\xBAN 2\xBA"
        "E 27-MAR-62 00:00:00 0.000000 " +
        std::string(500, 'c');
    EXPECT_FALSE(
        ReadFileAs(Reader::Lk8000_756, CrLfLines({"G  WGS 84", "U  1", longComment}), points, why));
}

// ---------------------------------------------------------------------------
// Every shape of point reaches every reader, at its place.

struct ReaderCase {
    const char* label;
    std::string list;               // readable UTF-8
    std::vector<ReadPoint> points;  // name, latitude, longitude, comment
};

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.label;
}

class LK8000ReadersTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LK8000ReadersTest, EveryReaderTakesEveryPointIntact) {
    const ReaderCase& c = GetParam();
    const auto result = Convert(5, Windows1251(c.list));
    for (std::size_t r = 0; r < std::size(kReaders); ++r) {
        std::vector<ReadPoint> points;
        std::string why;
        ASSERT_TRUE(ReadFileAs(kReaders[r], result.output, points, why))
            << kReaderNames[r] << ": " << why;
        ASSERT_EQ(points.size(), c.points.size()) << kReaderNames[r];
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].name, c.points[i].name) << kReaderNames[r];
            EXPECT_NEAR(points[i].lat, c.points[i].lat, 1e-7) << kReaderNames[r];
            EXPECT_NEAR(points[i].lon, c.points[i].lon, 1e-7) << kReaderNames[r];
            EXPECT_EQ(points[i].comment, c.points[i].comment) << kReaderNames[r];
        }
    }
}

const std::string kLongComment = std::string(300, 'a') + "  " + std::string(300, 'b');

INSTANTIATE_TEST_SUITE_P(
    Shapes, LK8000ReadersTest,
    ::testing::Values(ReaderCase{"short points without comments",
                                 "A\r\n1 2\r\n\r\nB\r\n-3 -4\r\n\r\nC\r\n0 0\r\n",
                                 {{"A", 1, 2, "A"}, {"B", -3, -4, "B"}, {"C", 0, 0, "C"}}},
                      ReaderCase{"seventeen-digit coordinates",
                                 "BaseCamp\r\n39.97386971488595 -105.2765123456789\r\nx\r\n",
                                 {{"BaseCamp", 39.97386971488595, -105.2765123456789, "x"}}},
                      ReaderCase{"exponents and ends of the ranges",
                                 "A\r\n4.5e1 -1.8E2\r\n\r\nB\r\n-90 180\r\n",
                                 {{"A", 45, -180, "A"}, {"B", -90, 180, "B"}}},
                      ReaderCase{"decimal commas read as points",
                                 "Юца\r\n43,9612 42,9845\r\n",
                                 {{"Yutsa", 43.9612, 42.9845, "Yutsa"}}},
                      ReaderCase{"a name that is only a tag, a comment of blanks",
                                 "<С>\r\n1 2\r\n   \t\r\n\r\n<Ю>\r\n3 4\r\n",
                                 {{"WPT001", 1, 2, "WPT001"}, {"WPT002", 3, 4, "WPT002"}}},
                      ReaderCase{"long comments are cut to 499 bytes",
                                 "A\r\n1 2\r\n" + kLongComment + "\r\n",
                                 {{"A", 1, 2, kLongComment.substr(0, 499)}}},
                      ReaderCase{"a cut comment loses the blank it ends on",
                                 "A\r\n1 2\r\n" + std::string(498, 'a') + " b\r\n",
                                 {{"A", 1, 2, std::string(498, 'a')}}},
                      ReaderCase{"names that the cut makes equal are numbered",
                                 "Gornaya_Vershina\r\n1 2\r\nc\r\n\r\nGornaya_Vershina_2\r\n1 "
                                 "2\r\nc\r\n\r\nNorthern Camera Gerauer Strasse\r\n3 4\r\n\r\n"
                                 "Northern Camera Westendstrasse\r\n3 4\r\n",
                                 {{"Gornaya_Vershina", 1, 2, "c"},
                                  {"Gornaya_Vershin2", 1, 2, "c"},
                                  {"Northern_Camera_", 3, 4, "Northern Camera Gerauer Strasse"},
                                  {"Northern_Camera2", 3, 4, "Northern Camera Westendstrasse"}}},
                      ReaderCase{"long names, Ukrainian letters and bytes outside the table",
                                 "Краєвид Київ «Ґанок» №5 вище\r\n1 2\r\nЇжак\tі ў €\r\n",
                                 {{"Krayevid_Kiyiv__", 1, 2, "Yizhak_i u _"}}}));

// ---------------------------------------------------------------------------
// The lines byte for byte.

// Expected waypoint lines are readable UTF-8 with "{BA}" for the raw degree byte.
std::string Expected(const std::string& line) {
    std::string text = Windows1251(line);
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

const std::string kHeader = CrLfLines({"G  WGS 84", "U  1"});

TEST_P(LK8000WaypointsTest, WritesWaypointLines) {
    const Lk8000Case& c = GetParam();
    std::vector<std::string> lines;
    for (const std::string& line : c.lines) lines.push_back(Expected(line));
    const auto result = Convert(5, Windows1251(c.list));
    EXPECT_EQ(result.output, kHeader + CrLfLines(lines)) << c.label;
    EXPECT_EQ(result.outcome.output.filename(), "list_lk8.wpt");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LK8000WaypointsTest,
    ::testing::Values(
        Lk8000Case{"empty list", "", {}}, Lk8000Case{"blank lines only", "\r\n  \r\n\t\r\n", {}},
        Lk8000Case{"worked example",
                   ":Кавказ\r\nХолм Ветров <Ю ЮЗ>\r\n44.1234 42.5678\r\nСтарт с юга, ветер "
                   "Ю\r\nВторой комментарий\r\n",
                   {"W Kholm_Vetrov A 44.1234{BA}N 42.5678{BA}E 27-MAR-62 00:00:00 0.000000 "
                    "Start s yuga, veter Yu"}},
        Lk8000Case{"short lines: the name as comment, zeros up to 65 characters",
                   "A\r\n1 2\r\n\r\nBb\r\n3.5 4,25\r\n",
                   {"W A A 1.0000000000000{BA}N 2.0000000{BA}E 27-MAR-62 00:00:00 0.000000 A",
                    "W Bb A 3.5000000000000{BA}N 4.25000{BA}E 27-MAR-62 00:00:00 0.000000 Bb"}},
        Lk8000Case{"one underscore per space, second tag stays",
                   "  Col  du <a> x <b c>  \r\n45.1 6.2\r\n",
                   {"W Col__du__x_<b_c> A 45.1{BA}N 6.2{BA}E 27-MAR-62 00:00:00 0.000000 "
                    "Col  du  x <b c>"}},
        Lk8000Case{"names cut to 16 after transliteration",
                   "Щелково Большое\r\n11.25 22.75\r\nc\r\n",
                   {"W Shchelkovo_Bol's A 11.25{BA}N 22.75{BA}E 27-MAR-62 00:00:00 0.000000 c"}},
        Lk8000Case{"minus sign becomes S or W, plus kept",
                   "Abcdefghijkl\r\n-44.5 +6.8\r\nc\r\n",
                   {"W Abcdefghijkl A 44.500000{BA}S +6.8{BA}E 27-MAR-62 00:00:00 0.000000 c"}},
        Lk8000Case{"over 15 characters rounded to fit",
                   "Abcdefghijklmnop\r\n-39.97386971488595 0105.27651234567891\r\nc\r\n",
                   {"W Abcdefghijklmnop A 39.973869714886{BA}S 105.27651234568{BA}E 27-MAR-62 "
                    "00:00:00 0.000000 c"}},
        Lk8000Case{"the altitude in metres",
                   "Elbrus\r\n43.3528 42.4392 5642\r\n\r\nB\r\n1 2 -12,4\r\nc\r\n",
                   {"W Elbrus A 43.3528{BA}N 42.4392{BA}E 27-MAR-62 00:00:00 5642.000000 Elbrus",
                    "W B A 1.0000000000000{BA}N 2.00000{BA}E 27-MAR-62 00:00:00 -12.000000 c"}}));

TEST(LK8000WaypointsGolden, VariedListMatchesGoldenFile) {
    const auto result =
        Convert(5, ReadBytes(DataFile("lk8000/points.txt")), Options(), "points.txt");
    EXPECT_EQ(result.output, ReadBytes(DataFile("lk8000/points_lk8.wpt")));
    for (std::size_t r = 0; r < std::size(kReaders); ++r) {
        std::vector<ReadPoint> points;
        std::string why;
        EXPECT_TRUE(ReadFileAs(kReaders[r], result.output, points, why))
            << kReaderNames[r] << ": " << why;
        EXPECT_EQ(points.size(), 6u) << kReaderNames[r];
    }
}

}  // namespace
}  // namespace oradel
