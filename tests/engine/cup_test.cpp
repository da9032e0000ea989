// SeeYou CUP both ways (modes 6 and 16), and two acceptance checkers
// written from the readers' rules (never their code):
//   XCSoar: WaypointReaderSeeYou.cpp and io/BufferedCsvReader.cpp at v7.45
//     (5bbf804b), with the stricter rules of its 6.x reader (03f11a7a);
//   LK8000: Waypoints/ReadFile.cpp, ParseCUP.cpp, CUPToLatLon.cpp and
//     ReadAltitude.cpp at 7.6.6 (39a45c06) and 7.5.6 (1b09ada9).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/errors.hpp"
#include "engine/test_support.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::DataFile;
using testing::ReadBytes;
using testing::SplitLines;
using testing::Windows1251;

// A waypoint as a reader took it; texts UTF-8.
struct CupPoint {
    std::string name, code;
    double lat = 0, lon = 0;
    std::optional<double> elevation;  // metres
    std::string desc;
};
using CupPoints = std::vector<CupPoint>;

bool Refuse(std::string& why, const std::string& reason) {
    why = reason;
    return false;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool AllDigits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, IsDigit);
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A number at the start of `text` (strtod), the rest in `unit`.
std::optional<double> LeadingNumber(std::string_view text, std::string& unit) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str()) return std::nullopt;
    unit = end;
    return value;
}

// ---------------------------------------------------------------------------
// XCSoar.

// BufferedCsvReader: blanks before a field are skipped; a quoted field runs to
// its closing quote ("" is a quote; an open quote runs on into the next line,
// so the checker refuses it) and only blanks may follow it; an unquoted field
// loses its trailing blanks.
bool XCSoarFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    for (std::size_t i = 0;; ++i) {  // `i` at a field's start, then at its comma
        std::string& field = fields.emplace_back();
        while (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '"') {
            for (++i; i < line.size() && (line[i] != '"' || line.substr(i, 2) == "\"\""); ++i) {
                field += line[i];
                if (line[i] == '"') ++i;
            }
            if (i++ == line.size()) return false;
            while (i < line.size() && line[i] == ' ') ++i;
            if (i < line.size() && line[i] != ',') return false;
        } else {
            const std::size_t comma = std::min(line.find(',', i), line.size());
            field = line.substr(i, comma - i);
            field.erase(field.find_last_not_of(' ') + 1);
            i = comma;
        }
        if (i >= line.size()) return true;
    }
}

// ParseAngle: the hemisphere letter last (upper case), before it degrees and
// minutes as digits, a point and exactly three decimals (v7.45); minutes
// below 60 (6.x); degrees capped at `limit`.
std::optional<double> XCSoarAngle(std::string_view text, std::string_view letters, double limit) {
    if (text.empty() || letters.find(text.back()) == std::string_view::npos) return std::nullopt;
    const bool negative = text.back() == letters[1];
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point + 5 != text.size() ||
        !AllDigits(text.substr(0, point)) || !AllDigits(text.substr(point + 1, 3))) {
        return std::nullopt;
    }
    const long degreesMinutes = std::atol(std::string(text.substr(0, point)).c_str());
    if (degreesMinutes % 100 >= 60) return std::nullopt;
    const double value = std::min<double>(static_cast<double>(degreesMinutes / 100), limit) +
                         static_cast<double>(degreesMinutes % 100) / 60 +
                         std::atof(std::string(text.substr(point + 1, 3)).c_str()) / 60000;
    return negative ? -value : value;
}

bool ReadAsXCSoar(std::string_view file, CupPoints& points, std::string& why) {
    // StringConverter reads a file with a malformed sequence as Latin-1.
    if (!IsWellFormedUtf8(file)) return Refuse(why, "not UTF-8");
    std::vector<std::string> fields;
    std::size_t descField = 10;
    bool first = true;
    for (const std::string& line : SplitLines(file)) {
        // 6.x: lines of 4096 characters and more fail, at most 20 fields.
        if (line.size() >= 4096) return Refuse(why, "6.x: line too long");
        if (!XCSoarFields(line, fields) || fields.size() > 20)
            return Refuse(why, "fields: " + line);
        // A first record whose fourth field is "lat" is the header; with
        // "rwwidth" as tenth the description moves one field on.
        if (std::exchange(first, false) && fields.size() > 3 && Lower(fields[3]) == "lat") {
            if (fields.size() > 9 && Lower(fields[9]) == "rwwidth") descField = 11;
            continue;
        }
        if (fields.size() == 1 && Lower(fields[0]) == "-----related tasks-----") break;
        if ((fields.size() == 1 && fields[0].empty()) || fields[0].starts_with('*')) continue;
        CupPoint point;
        const auto lat = fields.size() > 3 ? XCSoarAngle(fields[3], "NS", 90) : std::nullopt;
        const auto lon = fields.size() > 4 ? XCSoarAngle(fields[4], "EW", 180) : std::nullopt;
        // A point without coordinates, name or code field is skipped.
        if (!lat || !lon || fields[0].empty() || fields.size() < 2) {
            return Refuse(why, "point skipped: " + line);
        }
        point = {fields[0], fields[1], *lat, *lon, std::nullopt, ""};
        // An elevation needs "m" or "ft" (upper or lower case); else terrain stands in.
        std::string unit;
        if (fields.size() > 5 && !fields[5].empty()) {
            point.elevation = LeadingNumber(fields[5], unit);
            if (!point.elevation || (Lower(unit) != "m" && Lower(unit) != "ft")) {
                return Refuse(why, "elevation: " + line);
            }
            if (Lower(unit) == "ft") *point.elevation *= 0.3048;
        }
        if (fields.size() > descField) point.desc = fields[descField];
        points.push_back(point);
    }
    return true;
}

// ---------------------------------------------------------------------------
// LK8000.

// CupStringToFieldArray: commas outside quotes split; a quote opens quoted
// text anywhere; inside it "" is a quote, and a quote followed by anything
// but a comma vanishes while the quoted text goes on.
std::vector<std::string> LK8000Fields(std::string_view line) {
    std::vector<std::string> fields(1);
    enum { Plain, Quoted, QuoteInQuoted } state = Plain;
    for (const char c : line) {
        if ((state == Plain || state == QuoteInQuoted) && c == ',') {
            fields.emplace_back();
            state = Plain;
        } else if (state != QuoteInQuoted && c == '"') {
            state = state == Plain ? Quoted : QuoteInQuoted;
        } else {
            fields.back() += c;
            if (state == QuoteInQuoted) state = Quoted;
        }
    }
    return fields;
}

// CUPToLat, CUPToLon: exactly `degreeDigits` digits of degrees and two of
// minutes, a point, decimals (an int holds nine), then the letter; beyond
// 90 or 180 degrees the point is dropped.
std::optional<double> LK8000Angle(std::string_view text, std::size_t degreeDigits,
                                  std::string_view letters, double limit) {
    const std::size_t point = degreeDigits + 2;
    if (text.size() <= point || !AllDigits(text.substr(0, point)) || text[point] != '.') {
        return std::nullopt;
    }
    std::size_t end = point + 1;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end - point - 1 > 9 || end == text.size() ||
        letters.find(text[end]) == std::string_view::npos) {
        return std::nullopt;
    }
    const double value =
        std::atof(std::string(text.substr(0, degreeDigits)).c_str()) +
        std::atof(std::string(text.substr(degreeDigits, end - degreeDigits)).c_str()) / 60;
    if (value > limit) return std::nullopt;
    return text[end] == letters[1] ? -value : value;
}

bool ReadAsLK8000(std::string_view file, CupPoints& points, std::string& why) {
    // 7.5 does not skip a byte-order mark, so the header would not match.
    if (file.starts_with("\xEF\xBB\xBF")) return Refuse(why, "byte-order mark");
    const std::vector<std::string> lines = SplitLines(file);
    // The first line that is not empty, an encoding line "B..." or a comment
    // must be the header: LK8000 takes no CUP file without one.
    std::size_t at = 0;
    while (at < lines.size() && (lines[at].empty() || lines[at][0] == 'B' || lines[at][0] == '*')) {
        ++at;
    }
    if (at == lines.size() || !(lines[at].starts_with("name,code,country") ||
                                lines[at].starts_with("Title,Code,Country"))) {
        return Refuse(why, "no header");
    }
    // CupStringToHeader: the columns by their lower-case names, long names as aliases.
    const std::map<std::string, std::string> aliases = {{"title", "name"},
                                                        {"latitude", "lat"},
                                                        {"longitude", "lon"},
                                                        {"elevation", "elev"},
                                                        {"description", "desc"}};
    const std::vector<std::string> header = LK8000Fields(lines[at]);
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = Lower(header[i]);
        columns[aliases.contains(name) ? aliases.at(name) : name] = i;
    }
    for (const char* name : {"name", "code", "lat", "lon", "elev", "desc"}) {
        if (!columns.contains(name)) return Refuse(why, std::string("no column ") + name);
    }
    for (++at; at < lines.size(); ++at) {
        const std::string& line = lines[at];
        // 7.5 keeps 1021 bytes of a line and does not trim it; 7.6 trims.
        if (line.size() > 1021) return Refuse(why, "7.5 cuts the line");
        if (!line.empty() && (line.front() == ' ' || line.back() == ' ')) {
            return Refuse(why, "7.5 and 7.6 read blanks at the ends apart");
        }
        if (line.empty() || line[0] == '*') continue;
        if (line.starts_with("-----Related Tasks")) break;
        if (!IsWellFormedUtf8(line)) return Refuse(why, "read as ANSI: " + line);
        const std::vector<std::string> fields = LK8000Fields(line);
        // 7.6 needs 11 fields; 7.5 reads every column the header names.
        if (fields.size() < 11 || fields.size() < header.size()) {
            return Refuse(why, "too few fields: " + line);
        }
        const auto field = [&](const char* name) { return fields[columns.at(name)]; };
        // Longer names and codes are cut (in 7.5 anywhere in a character).
        if (field("name").size() > 30 || field("code").size() > 15) {
            return Refuse(why, "name over 30 or code over 15 bytes: " + line);
        }
        const auto lat = LK8000Angle(field("lat"), 2, "NS", 90);
        const auto lon = LK8000Angle(field("lon"), 3, "EW", 180);
        if (!lat || !lon) return Refuse(why, "point dropped: " + line);
        CupPoint point{field("name"), field("code"), *lat, *lon, std::nullopt, field("desc")};
        // ReadAltitude: a number, then "m", "M", "f", "F" or nothing; an empty
        // or unreadable field gives 0, which LK8000 takes from the terrain.
        std::string unit;
        if (!field("elev").empty()) {
            point.elevation = LeadingNumber(field("elev"), unit);
            if (!point.elevation || (!unit.empty() && std::string_view("mMfF").find(unit[0]) ==
                                                          std::string_view::npos)) {
                return Refuse(why, "elevation: " + line);
            }
            if (unit[0] == 'f' || unit[0] == 'F') *point.elevation *= 0.3048;
        }
        points.push_back(point);
    }
    return true;
}

const struct {
    const char* name;
    bool (*read)(std::string_view file, CupPoints& points, std::string& why);
} kReaders[] = {{"XCSoar", ReadAsXCSoar}, {"LK8000", ReadAsLK8000}};

// What every reader takes from one of our files, the same in each, with our
// own rules besides: CR LF line ends, names and codes unique.
CupPoints ReadByEveryReader(const std::string& file) {
    std::vector<CupPoints> read;
    for (const auto& reader : kReaders) {
        std::string why;
        EXPECT_TRUE(reader.read(file, read.emplace_back(), why)) << reader.name << ": " << why;
    }
    EXPECT_EQ(read[0].size(), read[1].size());
    std::set<std::string> names, codes;
    for (std::size_t i = 0; i < std::min(read[0].size(), read[1].size()); ++i) {
        const CupPoint &a = read[0][i], &b = read[1][i];
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.desc, b.desc) << a.name;
        EXPECT_NEAR(a.lat, b.lat, 1e-9) << a.name;
        EXPECT_NEAR(a.lon, b.lon, 1e-9) << a.name;
        EXPECT_EQ(a.elevation.has_value(), b.elevation.has_value()) << a.name;
        EXPECT_TRUE(names.insert(a.name).second) << a.name;
        EXPECT_TRUE(codes.insert(a.code).second) << a.code;
    }
    EXPECT_EQ(CrLfLines(SplitLines(file)), file);
    return read[0];
}

const std::string kHeader = "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n";
const std::string kPoint = "\"A\",\"A\",,4357.672N,04259.070E,1850m,1,,,,\"d\"\r\n";

// Shapes the readers refuse or misread, each caught by its checker.
TEST(CupCheckers, RefuseWhatTheReadersRefuse) {
    const struct {
        std::string file;
        bool xcsoar, lk8000;  // refused by the checker
    } cases[] = {
        {kHeader + kPoint, false, false},
        {kPoint, false, true},
        {"\xEF\xBB\xBF" + kHeader + kPoint, false, true},
        {kHeader + "\"A\",\"A\",,4357.67N,04259.070E,,1,,,,\"d\"\r\n", true, false},
        {kHeader + "\"A\",\"A\",,4367.672N,04259.070E,,1,,,,\"d\"\r\n", true, false},
        {kHeader + "\"A\",\"A\",,957.672N,04259.070E,,1,,,,\"d\"\r\n", false, true},
        {kHeader + "\"A\",\"A\",,4357.672N,04259.070E,1850,1,,,,\"d\"\r\n", true, false},
        {kHeader + "\"\",\"A\",,4357.672N,04259.070E,,1,,,,\"d\"\r\n", true, false},
        {kHeader + "\"A\" x,\"A\",,4357.672N,04259.070E,,1,,,,\"d\"\r\n", true, true},
        {kHeader + "\"" + std::string(31, 'a') + "\",\"A\",,4357.672N,04259.070E,,1,,,,\r\n", false,
         true},
        {kHeader + "\"A\",\"" + std::string(16, 'a') + "\",,4357.672N,04259.070E,,1,,,,\r\n", false,
         true},
        {kHeader + "\"A\",\"A\",,4357.672N,04259.070E,,1,,,\r\n", false, true},
        {kHeader + "\"A\",\"A\",,4357.672N,04259.070E,,1,,,,\"" + std::string(990, 'd') + "\"\r\n",
         false, true},
        {kHeader + " " + kPoint, false, true},
        {kHeader + "\"A\xFF\",\"A\",,4357.672N,04259.070E,,1,,,,\"d\"\r\n", true, true},
    };
    for (const auto& c : cases) {
        for (const auto& [reader, refused] :
             {std::pair(kReaders[0], c.xcsoar), std::pair(kReaders[1], c.lk8000)}) {
            CupPoints points;
            std::string why;
            EXPECT_EQ(!reader.read(c.file, points, why), refused) << reader.name << ": " << c.file;
        }
    }
}

// ---------------------------------------------------------------------------
// Mode 6.

TEST(CupExport, RepresentativeListMatchesGoldenFile) {
    const auto result = Convert(6, ReadBytes(DataFile("cup/points.txt")), Options(), "points.txt");
    EXPECT_EQ(result.output, ReadBytes(DataFile("cup/points.cup")));
    EXPECT_EQ(result.outcome.output.filename(), "points.cup");
    EXPECT_EQ(result.outcome.leftOut, (std::vector<LeftOutPoint>{{7, Windows1251("Ошибка")}}));
    EXPECT_EQ(ReadByEveryReader(result.output).size(), 7u);
}

// The lines of the rules that the golden file does not show, byte for byte.
TEST(CupExport, WritesEachRule) {
    const std::string d962 = std::string(481 * 2, 'x');
    const struct {
        std::string list;  // readable UTF-8
        std::vector<std::string> lines;
    } cases[] = {
        {"A\r\n44.999995 -0.0000001\r\n\r\nB\r\n-89.99999999 179.9999999\r\n\r\n"
         "C\r\n0.00001 -7.5 0\r\n",
         {"\"A\",\"A\",,4500.000N,00000.000E,,1,,,,\"\"",
          "\"B\",\"B\",,9000.000S,18000.000E,,1,,,,\"\"",
          "\"C\",\"C\",,0000.001N,00730.000W,0m,1,,,,\"\""}},
        {"Пик \"Орёл\"\tюг\r\n1 2\r\n\"a\",\tb\r\n",
         {"\"Пик 'Орёл' юг\",\"Pik_'Oryol'_yug\",,0100.000N,00200.000E,,1,,,,\"'a', b\""}},
        {"Юца\r\n1 2\r\n\r\nЮца\r\n1 2\r\n\r\nЮца\r\n1 2\r\n\r\n"
         "Гора Большая Медведица Северная\r\n1 2\r\n\r\nГора Большая Медведица Южная\r\n1 2\r\n",
         {"\"Юца\",\"Yutsa\",,0100.000N,00200.000E,,1,,,,\"\"",
          "\"Юца 2\",\"Yutsa_2\",,0100.000N,00200.000E,,1,,,,\"\"",
          "\"Юца 3\",\"Yutsa_3\",,0100.000N,00200.000E,,1,,,,\"\"",
          "\"Гора Большая Мед\",\"Gora_Bol'shaya_\",,0100.000N,00200.000E,,1,,,,\"\"",
          "\"Гора Большая Ме 2\",\"Gora_Bol'shaya2\",,0100.000N,00200.000E,,1,,,,\"\""}},
        {"A\r\n1 2\r\n" + std::string(2000, 'x') + "\r\n",
         {"\"A\",\"A\",,0100.000N,00200.000E,,1,,,,\"" + d962 + "\""}},
    };
    for (const auto& c : cases) {
        const auto result = Convert(6, Windows1251(c.list));
        EXPECT_EQ(result.output, kHeader + CrLfLines(c.lines)) << c.list.substr(0, 40);
        ReadByEveryReader(result.output);
    }
}

// The CUP exports of the real test files and examples: every reader takes every point.
TEST(CupExport, EveryReaderTakesTheExportsOfTheTestFiles) {
    const std::pair<const char*, int> inputs[] = {
        {"xctrack/points.wpt", 1},       {"xctrack/fixed_columns.wpt", 1},
        {"gpx/navitel_export.gpx", 15},  {"gpx/gpsbabel_1_8_0.gpx", 15},
        {"gpx/declared_latin1.gpx", 15}, {"cup/competition.cup", 16},
        {"lk8000/points.txt", 0},        {"web/points.txt", 0},
        {"cup/points.txt", 0},
    };
    for (const auto& [file, importMode] : inputs) {
        SCOPED_TRACE(file);
        std::string list = ReadBytes(DataFile(file));
        if (importMode != 0) {
            const std::string name = std::filesystem::path(file).filename().string();
            list = Convert(importMode, list, Options(), name).output;
        }
        EXPECT_EQ(ReadByEveryReader(Convert(6, list).output).size(),
                  testing::ListPoints(list).size());
    }
    for (const char* golden : {"cup/points.cup", "cup/competition.cup"}) {
        ReadByEveryReader(ReadBytes(DataFile(golden)));
    }
}

// ---------------------------------------------------------------------------
// Mode 16.

TEST(CupImport, CompetitionFileMatchesGoldenList) {
    const auto result =
        Convert(16, ReadBytes(DataFile("cup/competition.cup")), Options(), "competition.cup");
    EXPECT_EQ(result.output, ReadBytes(DataFile("cup/competition.txt")));
    EXPECT_EQ(result.outcome.output.filename(), "competition.txt");
}

TEST(CupImport, ReadsEachRule) {
    const struct {
        std::string cup;                // bytes
        std::vector<std::string> list;  // readable UTF-8
        std::size_t replaced = 0;
    } cases[] = {
        {"\"Юца\",\"Y\",RU,4357.672N,04259.07E,1850m,1,,,,\"старт\"",
         {"Юца", "43.961200 42.984500 1850", "старт", ""}},
        {"\"lat\",,,0100.000N,00200.000E,,1,,,,lat", {"lat", "01.000000 02.000000", "lat", ""}},
        {"Title,Latitude,Longitude,Elevation,Description\r\n A , 4357.6N ,04259E,100FT,d\r\n",
         {"A", "43.960000 42.983333 30", "d", ""}},
        {"\xEF\xBB\xBF"
         "ELEV,LAT,LON,NAME,DESC\n12.6m,0100.000S,00200.5w," +
             Windows1251("\"Гора \"\"Ю\"\", 2\",\"спуск"),
         {"Гора \"Ю\", 2", "-01.000000 -02.008333 13", "спуск", ""}},
        {"* a comment\r\r\n\"A\",,,0100N,00200.000E,x,\r\n-----related tasks-----\r\n\"B\",,,x",
         {"A", "01.000000 02.000000", "", ""}},
        {"\"Тире<в>имени\",,,0100.000N,00200.000E,0m,1,,,,\"[ссылка|нет]\"\r\n"
         "\"\",,,0200.000N,00300.000E,,1,,,,\"Łódź\"\r\n",
         {"Тире‹в›имени", "01.000000 02.000000 0", "(ссылка¦нет)", "", "WPT001",
          "02.000000 03.000000", "Lodz", ""},
         1},
    };
    for (const auto& c : cases) {
        const auto result = Convert(16, c.cup, Options(), "x.cup");
        EXPECT_EQ(result.output, Windows1251(CrLfLines(c.list))) << c.cup;
        EXPECT_EQ(result.messages.size(), c.replaced) << c.cup;
    }
}

TEST(CupImport, CoordinatesThatDoNotReadFailWithTheLineNumber) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"A\",,,4357.672X,04259.070E", "'4357.672X' is not a SeeYou CUP coordinate (line 1"},
        {kHeader + "\r\n\"A\",,,4357.672N,04299.070E",
         "'04299.070E' is not a SeeYou CUP "
         "coordinate (line 3"},
        {kHeader + "\"A\",,,9100.000N,00000.000E", "'9100.000N' is not a SeeYou CUP coordinate"},
        {kHeader + "\"A\",,,4357.N,04259.070E", "'4357.N' is not a SeeYou CUP coordinate"},
        {kHeader + "\"A\",,,4357.672N", "'' is not a SeeYou CUP coordinate (line 2"},
        {kHeader + Windows1251("\"A\",,,ы,04259.070E"), "'ы' is not a SeeYou CUP coordinate"},
        {"name,lat,lon\r\nA,4357.672N,18000.001E", "'18000.001E' is not a SeeYou CUP coordinate"},
    };
    for (const auto& [cup, message] : cases) {
        try {
            Convert(16, cup, Options(), "x.cup");
            ADD_FAILURE() << "no error for " << cup;
        } catch (const UserError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(message)) << error.what();
        }
    }
}

std::optional<long> WholeMetres(std::optional<double> metres) {
    return metres ? std::optional<long>(std::lround(*metres)) : std::nullopt;
}

// CUP -> list -> CUP: the same points, to the CUP's precision; our own file
// comes back byte for byte.
TEST(CupRoundTrip, CupThroughTheListGivesTheSamePoints) {
    for (const char* file : {"cup/points.cup", "cup/competition.cup"}) {
        SCOPED_TRACE(file);
        const std::string cup = ReadBytes(DataFile(file));
        const std::string again = Convert(6, Convert(16, cup, Options(), "x.cup").output).output;
        const CupPoints before = ReadByEveryReader(cup), after = ReadByEveryReader(again);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            std::string name = before[i].name;
            std::ranges::replace(name, '"', '\'');
            EXPECT_EQ(after[i].name, name);
            EXPECT_NEAR(after[i].lat, before[i].lat, 1.0 / 60000 / 2 + 1e-9) << name;
            EXPECT_NEAR(after[i].lon, before[i].lon, 1.0 / 60000 / 2 + 1e-9) << name;
            EXPECT_EQ(WholeMetres(after[i].elevation), WholeMetres(before[i].elevation)) << name;
        }
        if (file == std::string_view("cup/points.cup")) {
            EXPECT_EQ(again, cup);
        }
    }
}

}  // namespace
}  // namespace oradel
