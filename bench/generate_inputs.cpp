// oradel-bench-gen: writes the benchmark inputs, the same points in every
// format, from a fixed seed so that every run measures the same bytes.
//
//   oradel-bench-gen FOLDER NAME POINTS
//
// writes into FOLDER:
//   NAME.txt      the point list (Windows-1251): section headings, Cyrillic
//                 names with filter tags, link and phone markup, comment lines
//   NAME.wpt      an XCTrack waypoint export ("$FormatGEO", UTF-8)
//   NAME.gpx      a Navitel Navigator GPX export (UTF-8, one waypoint a line)
//   NAME.csv      the same points for GPSBabel's unicsv reader (UTF-8)
//
//   oradel-bench-gen --floor INPUT OUTPUT BYTES
//
// does the I/O floor of a conversion (io_floor.hpp), for bench/run.py to time.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "io_floor.hpp"
#include "text/codepage.hpp"

namespace {

namespace fs = std::filesystem;

// splitmix64: tiny, fast and the same on every platform and library.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
    bool Chance(unsigned percent) { return Below(100) < percent; }
    double Between(double low, double high) {
        return low + (high - low) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }
    template <typename T, std::size_t N>
    const T& Pick(const std::array<T, N>& items) {
        return items[Below(N)];
    }

  private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 12> kPlaceKinds = {
    "Гора",   "Холм", "Перевал", "Склон", "Старт",  "Поляна",
    "Хребет", "Утёс", "Плато",   "Балка", "Курган", "Сопка",
};
constexpr std::array<std::string_view, 16> kPlaceNames = {
    "Ветров",   "Лысая",    "Орлиная", "Юца",   "Джуца",    "Машук",   "Бештау", "Клементьева",
    "Ай-Петри", "Кара-Даг", "Лебедь",  "Волен", "Сорокино", "Эльбрус", "Чегет",  "Ёлочка",
};
constexpr std::array<std::string_view, 8> kWinds = {"С", "СВ", "В", "ЮВ", "Ю", "ЮЗ", "З", "СЗ"};
constexpr std::array<std::string_view, 10> kRegions = {
    "Кавказ", "Крым",    "Подмосковье", "Урал",   "Алтай",
    "Саяны",  "Карелия", "Байкал",      "Хибины", "Памир",
};
constexpr std::array<std::string_view, 14> kWords = {
    "старт",   "на", "южном",       "склоне,",  "ветер",    "вечерние", "термики",
    "подъезд", "по", "серпантину,", "шлагбаум", "площадка", "№3",       "высота",
};

struct Point {
    std::string heading;  // UTF-8, empty for none
    std::string name;     // UTF-8, without filter tag
    std::string tag;      // filter words, empty for none
    double lat = 0, lon = 0;
    std::vector<std::string> comments;  // UTF-8, may hold markup
};

void AppendFixed(std::string& out, double value, int decimals) {
    std::array<char, 64> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, decimals);
    out.append(digits.data(), result.ptr);
}

void AppendNumber(std::string& out, std::uint64_t value) {
    std::array<char, 24> digits;
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    out.append(digits.data(), result.ptr);
}

std::string Sentence(Random& random) {
    std::string text;
    const std::size_t words = 4 + random.Below(8);
    for (std::size_t i = 0; i < words; ++i) {
        if (i > 0) text += ' ';
        text += random.Pick(kWords);
    }
    return text;
}

std::string LinkMarkup(Random& random, std::size_t index) {
    std::string text = "[https://example.org/p/";
    AppendNumber(text, index);
    text += "|Фото ";
    AppendNumber(text, random.Below(100));
    text += ']';
    return text;
}

std::string PhoneMarkup(Random& random) {
    std::string text = "{+7 (9";
    AppendNumber(text, 10 + random.Below(90));
    text += ") ";
    AppendNumber(text, 100 + random.Below(900));
    text += '-';
    AppendNumber(text, 10 + random.Below(90));
    text += '-';
    AppendNumber(text, 10 + random.Below(90));
    text += "|Инструктор}";
    return text;
}

std::string FilterTag(Random& random) {
    std::string tag;
    const std::size_t count = 1 + random.Below(3);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) tag += ' ';
        tag += random.Pick(kWinds);
    }
    return tag;
}

Point MakePoint(Random& random, std::size_t index) {
    Point point;
    if (index % 40 == 0) {
        point.heading = std::string(random.Pick(kRegions));
        if (random.Chance(30)) point.heading.append(" ").append(LinkMarkup(random, index));
    }
    point.name.append(random.Pick(kPlaceKinds)).append(" ").append(random.Pick(kPlaceNames));
    point.name += ' ';
    AppendNumber(point.name, index);
    if (random.Chance(70)) point.tag = FilterTag(random);
    point.lat = random.Between(41.0, 69.0);
    point.lon = random.Between(19.0, 179.0);
    const std::size_t comments = 1 + random.Below(4);
    for (std::size_t i = 0; i < comments; ++i) point.comments.push_back(Sentence(random));
    if (random.Chance(40)) point.comments.back().append(" ").append(LinkMarkup(random, index));
    if (random.Chance(20))
        point.comments.push_back(std::string("Тел. ").append(PhoneMarkup(random)));
    return point;
}

// A file written in large blocks; `convert` turns the UTF-8 text into the file's encoding.
class OutputFile {
  public:
    OutputFile(const fs::path& path, bool windows1251)
        : file_(std::fopen(path.c_str(), "wb")), windows1251_(windows1251), path_(path) {
        if (file_ == nullptr) throw std::runtime_error("cannot create " + path.string());
    }
    ~OutputFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::string& Text() { return text_; }
    void FlushWhenLarge() {
        if (text_.size() > (1u << 20)) Flush();
    }
    void Close() {
        Flush();
        const bool failed = std::fclose(file_) != 0;
        file_ = nullptr;
        if (failed) throw std::runtime_error("cannot write " + path_.string());
    }

  private:
    void Flush() {
        const std::string bytes = windows1251_ ? oradel::Windows1251FromUtf8(text_) : text_;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            throw std::runtime_error("cannot write " + path_.string());
        }
        text_.clear();
    }

    std::FILE* file_;
    bool windows1251_;
    fs::path path_;
    std::string text_;
};

void WriteListRecord(std::string& out, const Point& point) {
    if (!point.heading.empty()) out.append(":").append(point.heading).append("\r\n");
    out += point.name;
    if (!point.tag.empty()) out.append(" <").append(point.tag).append(">");
    out += "\r\n";
    AppendFixed(out, point.lat, 6);
    out += ' ';
    AppendFixed(out, point.lon, 6);
    out += "\r\n";
    for (const std::string& comment : point.comments) out.append(comment).append("\r\n");
    out += "\r\n";
}

std::string WithUnderscores(std::string text) {
    for (char& c : text) {
        if (c == ' ') c = '_';
    }
    return text;
}

// "N 44 7 24.24": the hemisphere letter, whole degrees, minutes and seconds.
void AppendDms(std::string& out, double value, int degreeDigits) {
    const auto degrees = static_cast<int>(value);
    const double minutesExact = (value - degrees) * 60;
    const auto minutes = static_cast<int>(minutesExact);
    const double seconds = (minutesExact - minutes) * 60;
    std::string whole = std::to_string(degrees);
    if (whole.size() < static_cast<std::size_t>(degreeDigits)) {
        out.append(static_cast<std::size_t>(degreeDigits) - whole.size(), '0');
    }
    out.append(whole).append(" ").append(std::to_string(minutes)).append(" ");
    if (seconds < 10) out += '0';
    AppendFixed(out, seconds, 2);
}

void WriteExportLine(std::string& out, const Point& point) {
    out += WithUnderscores(point.name);
    out += "    N ";
    AppendDms(out, point.lat, 2);
    out += "    E ";
    AppendDms(out, point.lon, 3);
    out.append("   0  ").append(point.comments.front()).append("\r\n");
}

// Names and descriptions escaped as XML text; the importer copies them as written.
std::string XmlText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '&') {
            escaped += "&amp;";
        } else if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void WriteGpxWaypoint(std::string& out, const Point& point, std::size_t index) {
    out += "<wpt lat=\"";
    AppendFixed(out, point.lat, 6);
    out += "\" lon=\"";
    AppendFixed(out, point.lon, 6);
    out += "\"><time>2023-06-";
    out += index % 28 < 9 ? "0" : "";
    AppendNumber(out, 1 + index % 28);
    out.append("T10:00:00Z</time><name>").append(XmlText(point.name)).append("</name>");
    if (index % 3 != 0) {
        out.append("<desc>").append(XmlText(point.comments.front())).append("</desc>");
    }
    out += "<sym>Flag</sym></wpt>\r\n";
}

std::string CsvField(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

void WriteCsvLine(std::string& out, const Point& point) {
    out += CsvField(point.name);
    out += ',';
    AppendFixed(out, point.lat, 6);
    out += ',';
    AppendFixed(out, point.lon, 6);
    out += ',';
    out += CsvField(point.comments.front());
    out += "\r\n";
}

void Generate(const fs::path& folder, const std::string& name, std::size_t count) {
    fs::create_directories(folder);
    OutputFile list(folder / (name + ".txt"), true);
    OutputFile xctrack(folder / (name + ".wpt"), false);
    OutputFile gpx(folder / (name + ".gpx"), false);
    OutputFile csv(folder / (name + ".csv"), false);
    xctrack.Text() = "$FormatGEO\r\n";
    gpx.Text() =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<gpx version=\"1.1\" creator=\"Navitel Navigator\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\r\n";
    csv.Text() = "name,lat,lon,desc\r\n";
    Random random(0x0A4ADE1ull);
    for (std::size_t i = 0; i < count; ++i) {
        const Point point = MakePoint(random, i);
        WriteListRecord(list.Text(), point);
        WriteExportLine(xctrack.Text(), point);
        WriteGpxWaypoint(gpx.Text(), point, i);
        WriteCsvLine(csv.Text(), point);
        for (OutputFile* file : {&list, &xctrack, &gpx, &csv}) file->FlushWhenLarge();
    }
    gpx.Text() += "</gpx>\r\n";
    for (OutputFile* file : {&list, &xctrack, &gpx, &csv}) file->Close();
}

}  // namespace

int main(int argc, char** argv) {
    const bool floor = argc == 5 && std::string_view(argv[1]) == "--floor";
    if (argc != 4 && !floor) {
        std::cerr << "usage: oradel-bench-gen FOLDER NAME POINTS\n"
                     "       oradel-bench-gen --floor INPUT OUTPUT BYTES\n";
        return 2;
    }
    try {
        if (floor) {
            oradel::bench::CopyAtIoFloor(argv[2], argv[3], std::stoull(argv[4]));
        } else {
            Generate(argv[1], argv[2], std::stoull(argv[3]));
        }
    } catch (const std::exception& error) {
        std::cerr << "oradel-bench-gen: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
