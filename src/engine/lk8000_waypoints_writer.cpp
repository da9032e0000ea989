#include "engine/lk8000_waypoints_writer.hpp"

#include <algorithm>
#include <string>
#include <string_view>

#include "engine/point_list_reader.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

// LK8000 drops a waypoint line whose name runs past 16 characters before its
// space, and a line shorter than 65 characters.
constexpr std::size_t kMaxNameLength = 16;
constexpr std::size_t kMinLineLength = 65;
// The degree sign of the format: one raw byte, whatever the code page calls it.
constexpr char kDegree = '\xBA';
constexpr std::string_view kFixedFields = " 27-MAR-62 00:00:00 0.000000 ";

// The name without its filter tag, one underscore per space, in Latin letters,
// cut to the length the reader accepts. Each byte transliterates on its own,
// into one letter or more, so only the first bytes are transliterated: as many
// at a time as letters are still missing.
void AppendNameField(std::string& line, std::string_view name) {
    std::string field = StripFilterTag(name);
    ReplaceAll(field, " ", "_");
    std::string_view rest = field;
    std::size_t missing = kMaxNameLength;
    while (missing > 0 && !rest.empty()) {
        const std::size_t taken = std::min(missing, rest.size());
        const std::string latin = Transliterate(rest.substr(0, taken));
        line.append(latin, 0, std::min(latin.size(), missing));
        missing -= std::min(latin.size(), missing);
        rest.remove_prefix(taken);
    }
}

// The coordinate text as written in the list. The reader takes the hemisphere
// from the letter and ignores a minus sign, so a leading minus becomes the
// letter of the other hemisphere instead.
void AppendCoordinate(std::string& line, std::string_view text, char positive, char negative) {
    const bool isNegative = !text.empty() && text.front() == '-';
    if (isNegative) text.remove_prefix(1);
    line.append(text);
    line += kDegree;
    line += isNegative ? negative : positive;
}

void AppendComment(std::string& line, const PointRecord& point) {
    if (point.comments.empty()) return;
    line.append(TrimView(Transliterate(point.comments.front())));
}

}  // namespace

// G  WGS 84
// U  1
// W Kholm_Vetrov A 44.1234ºN 42.5678ºE 27-MAR-62 00:00:00 0.000000 Start s yuga, veter Yu
// (º standing for the single byte 0xBA)
void WriteLK8000Waypoints(ConversionContext& context) {
    TextOutput& out = context.output;
    out.WriteLine("G  WGS 84");
    out.WriteLine("U  1");

    PointListReader reader(context.input);
    PointRecord point;
    std::string line;
    while (reader.Next(point)) {
        line = "W ";
        AppendNameField(line, point.name);
        line += " A ";
        AppendCoordinate(line, point.latText, 'N', 'S');
        line += ' ';
        AppendCoordinate(line, point.lonText, 'E', 'W');
        line += kFixedFields;
        AppendComment(line, point);
        if (line.size() < kMinLineLength) line.resize(kMinLineLength, ' ');
        out.WriteLine(line);
    }
}

}  // namespace oradel
