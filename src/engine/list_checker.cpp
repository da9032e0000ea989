// Checks a point list record by record, as the exports read it:
//   :Кавказ                     headings: a heading needs a point under it
//   Юца <Ю ЮЗ>                  the name: empty, repeated, cut or renamed on a device
//   43.9612 42.9845 1850        the coordinates: unreadable, out of range, swapped,
//                               far from the rest of the section, repeated; the altitude
//   Старт [https://x.org|сайт]  comments and headings: markup and link addresses
// and the text itself: its encoding, bytes that are no text, mixed line ends.
#include "engine/list_checker.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"
#include "engine/coordinates.hpp"
#include "engine/cup_waypoints_writer.hpp"
#include "engine/decimal_numbers.hpp"
#include "engine/errors.hpp"
#include "engine/file_formats.hpp"
#include "engine/files.hpp"
#include "engine/hashed_table.hpp"
#include "engine/lk8000_waypoints_writer.hpp"
#include "engine/navitel_waypoints_writer.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/xctrack_waypoints_writer.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

using enum MessageId;

constexpr double kLowestAltitude = -450;  // metres: below the Dead Sea shore
constexpr double kHighestAltitude = 9000;
constexpr double kFarFromSectionKm = 300;
constexpr std::size_t kSmallestCheckedSection = 3;
constexpr double kEarthRadiusKm = 6371;

// The names as a text argument: readable UTF-8.
MessageArgument Shown(std::string_view windows1251) {
    return MessageArgument(Utf8FromWindows1251(windows1251));
}

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double kRadians = 3.14159265358979323846 / 180;
    const double dLat = (lat2 - lat1) * kRadians;
    const double dLon = (lon2 - lon1) * kRadians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRadians) * std::cos(lat2 * kRadians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(a)));
}

// A coordinate's text as a number, a decimal comma read as a point.
std::optional<double> Degrees(std::string_view text) {
    std::string number(TrimView(text));
    std::replace(number.begin(), number.end(), ',', '.');
    return ParseDecimal(number);
}

bool HasLetter(std::string_view text) {
    return std::ranges::any_of(text, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (std::isalpha(byte) && c != 'e' && c != 'E') || byte >= 0xC0;
    });
}

// Why a coordinate text does not read as a number.
Message WhyNotANumber(std::string_view text) {
    const auto separators =
        std::ranges::count_if(text, [](char c) { return c == '.' || c == ','; });
    if (separators > 1) return Message(CheckTwoSeparators, {Shown(text)});
    if (HasLetter(text)) return Message(CheckLetterInCoordinate, {Shown(text)});
    return Message(CheckNotANumber, {Shown(text)});
}

// Why a coordinate line that ReadPosition refuses cannot be read. `lonText`
// holds the longitude and what follows it.
Message WhyUnreadable(std::string_view latText, std::string_view lonText) {
    lonText = TrimView(lonText);
    if (lonText.empty()) return Message(CheckMissingLongitude, {Shown(latText)});
    const std::size_t blank = lonText.find_first_of(" \t");
    if (blank != std::string_view::npos) {
        const std::string_view rest = TrimView(lonText.substr(blank));
        if (!ReadAltitude(rest)) {
            const std::size_t next = rest.find_first_of(" \t");
            const bool fourth =
                next != std::string_view::npos && ReadAltitude(rest.substr(0, next));
            return Message(fourth ? CheckFourthValue : CheckBadAltitude, {Shown(rest)});
        }
        lonText = lonText.substr(0, blank);
    }
    const std::optional<double> lat = Degrees(latText), lon = Degrees(lonText);
    if (!lat) return WhyNotANumber(TrimView(latText));
    if (!lon) return WhyNotANumber(lonText);
    const std::string pair = Utf8FromWindows1251(Trim(latText) + " " + std::string(lonText));
    if (std::fabs(*lat) > 90 && std::fabs(*lon) <= 90) {
        return Message(CheckSwappedOutOfRange, {pair});
    }
    return Message(CheckOutOfRange, {pair});
}

// What is wrong with a link's address: nullopt for a web, phone or mail
// address, the warning for any other (a script's above all).
std::optional<Message> LinkAddressProblem(std::string_view address) {
    constexpr std::string_view kKnownSchemes[] = {"http://", "https://", "tel:", "mailto:"};
    if (std::ranges::any_of(kKnownSchemes, [address](std::string_view scheme) {
            return StartsWithNoCase(address, scheme);
        })) {
        return std::nullopt;
    }
    if (StartsWithNoCase(address, "javascript:")) return Message(CheckScriptLink, {Shown(address)});
    return Message(CheckLinkAddress, {Shown(address)});
}

// How a device's file writes names: the form a list name takes there, and
// whether the file then numbers names that came out the same.
struct DeviceNameRule {
    std::string_view device;
    std::string (*form)(std::string_view name);
    bool utf8;      // the form is UTF-8, not Windows-1251
    bool numbered;  // a repeated form gets a number in the file
};
constexpr DeviceNameRule kDeviceNameRules[] = {
    {"LK8000", LK8000Name, false, true},
    {"SeeYou CUP", CupName, true, true},
    {"XCTrack", XCTrackName, false, false},
    {"Navitel", NavitelName, false, false},
};

// A point as the section checks need it.
struct SectionPoint {
    std::size_t line;  // of its coordinates
    double lat, lon;
};

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// Where a name, a device's form of it or a position was first met: the
// point (its place among the checked points) and the line.
struct FirstUse {
    std::size_t point;
    std::size_t line;
};

// Texts met before, each with its first use. Two texts of one hash are told
// apart by the earlier use's text, which `textOf` gives back: the later one
// then makes no finding (a chance of about one in 10^9 for a whole list).
class FirstUses {
  public:
    // The first use of `text`, or nullptr when it is new (`use` then becomes it).
    template <class TextOf>
    const FirstUse* Note(std::string_view text, FirstUse use, const TextOf& textOf) {
        const auto [first, added] = uses_.Emplace(text, use);
        if (added || textOf(*first) != text) return nullptr;
        return first;
    }

  private:
    HashedTable<FirstUse> uses_;
};

class ListChecker {
  public:
    explicit ListChecker(bool readAsUtf8) {
        Add(1, Severity::Note, Message(CheckEncoding, {readAsUtf8 ? "UTF-8" : "Windows-1251"}));
    }

    void Check(const PointRecord& record);
    std::vector<Diagnostic> Finish(const LineEndUse& lineEnds);

  private:
    void Add(std::size_t line, Severity severity, Message text) {
        diagnostics_.push_back({line, severity, std::move(text)});
    }
    void CheckText(std::string_view text, std::size_t line);
    void CheckMarkup(std::string_view text, std::size_t line);
    void CheckName(const PointRecord& record, std::size_t point);
    void CheckDeviceForms(std::size_t point, std::size_t line);
    void CheckPosition(const PointRecord& record, const Position& position, std::size_t point);
    void CheckLK8000(const PointRecord& record, std::string_view name);
    void CheckSections();

    std::vector<Diagnostic> diagnostics_;
    std::vector<std::vector<SectionPoint>> sections_{1};  // points before any heading first
    // The name of each readable point checked, without its filter tag.
    std::vector<std::string> pointNames_;
    FirstUses names_;
    // For each device, the first point whose name took each of its forms.
    FirstUses deviceForms_[std::size(kDeviceNameRules)];
    // The position of each readable point checked, as the bytes of its two numbers.
    std::vector<std::array<double, 2>> pointPositions_;
    FirstUses positions_;
    unsigned unnamedPoints_ = 0;
    bool transliterationNoted_ = false;
};

void ListChecker::Check(const PointRecord& record) {
    const std::size_t nameLine = record.nameLine;
    const std::size_t firstHeading = nameLine - record.headings.size();
    for (std::size_t i = 0; i < record.headings.size(); ++i) {
        CheckText(record.headings[i], firstHeading + i);
        CheckMarkup(record.headings[i], firstHeading + i);
    }
    if (!record.headings.empty()) sections_.emplace_back();
    if (IsBlankLine(record.name)) {
        // Only after headings: an empty line under a heading.
        Add(nameLine - 1, Severity::Warning,
            Message(CheckHeadingWithoutPoint, {Shown(record.headings.back())}));
        if (!IsBlankLine(record.latText))
            Add(nameLine + 1, Severity::Error, Message(CheckMisreadRecord));
        return;
    }
    CheckText(record.name, nameLine);
    if (IsBlankLine(record.latText)) {
        Add(nameLine, Severity::Error, Message(CheckNoCoordinates, {Shown(record.name)}));
        return;
    }
    for (std::size_t i = 0; i < record.comments.size(); ++i) {
        CheckText(record.comments[i], nameLine + 2 + i);
        CheckMarkup(record.comments[i], nameLine + 2 + i);
    }
    Position position;
    if (!ReadPosition(record.latText, record.lonText, position)) {
        Add(nameLine + 1, Severity::Error, WhyUnreadable(record.latText, record.lonText));
        return;
    }
    const std::size_t point = pointNames_.size();
    pointNames_.push_back(StripFilterTag(record.name));
    CheckName(record, point);
    CheckPosition(record, position, point);
    CheckLK8000(record, pointNames_.back());
}

// NUL bytes are no text at all; other control characters reach the devices.
void ListChecker::CheckText(std::string_view text, std::size_t line) {
    if (text.find('\0') != std::string_view::npos) {
        Add(line, Severity::Error, Message(CheckNulByte));
        return;
    }
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            std::string shown = "\\x";
            AppendHex(shown, byte, 2);
            Add(line, Severity::Warning, Message(CheckControlCharacter, {shown}));
            return;
        }
    }
}

// "[address|title]" and "{number|title}": each opening bracket needs its "|"
// and its closing bracket; a link's address is a web, phone or mail address.
void ListChecker::CheckMarkup(std::string_view text, std::size_t line) {
    for (const auto& [open, close] : {std::pair{'[', ']'}, std::pair{'{', '}'}}) {
        for (std::size_t at = text.find(open); at != std::string_view::npos;
             at = text.find(open, at + 1)) {
            const std::size_t bar = text.find('|', at + 1);
            const std::size_t end = bar == std::string_view::npos ? bar : text.find(close, bar + 1);
            if (end == std::string_view::npos) {
                const char missing = bar == std::string_view::npos ? '|' : close;
                Add(line, Severity::Warning,
                    Message(CheckUnclosedMarkup, {std::string(1, open), std::string(1, missing)}));
                break;
            }
            if (open == '[') {
                const std::string address = Trim(text.substr(at + 1, bar - at - 1));
                if (auto problem = LinkAddressProblem(address)) {
                    Add(line, Severity::Warning, std::move(*problem));
                }
            }
            at = end;
        }
    }
}

void ListChecker::CheckName(const PointRecord& record, std::size_t point) {
    const std::string& name = pointNames_[point];
    const std::size_t line = record.nameLine;
    const std::size_t open = record.name.find('<');
    if (open != std::string::npos && record.name.find('>', open) == std::string::npos) {
        Add(line, Severity::Warning, Message(CheckUnclosedFilterTag));
    }
    if (name.empty()) {
        Add(line, Severity::Warning, Message(CheckUnnamed, {UnnamedPointName(++unnamedPoints_)}));
        return;
    }
    const FirstUse use{point, line};
    const auto nameOf = [this](const FirstUse& first) -> const std::string& {
        return pointNames_[first.point];
    };
    if (const FirstUse* first = names_.Note(name, use, nameOf)) {
        Add(line, Severity::Warning, Message(CheckRepeatedName, {Shown(name), first->line}));
        return;
    }
    CheckDeviceForms(point, line);
}

// Two names of the list that a device's file writes alike: the device shows
// two points of one name, or the file numbers the second.
void ListChecker::CheckDeviceForms(std::size_t point, std::size_t line) {
    const std::string& name = pointNames_[point];
    for (std::size_t device = 0; device < std::size(kDeviceNameRules); ++device) {
        const DeviceNameRule& rule = kDeviceNameRules[device];
        const std::string form = rule.form(name);
        const auto formOf = [this, &rule](const FirstUse& first) {
            return rule.form(pointNames_[first.point]);
        };
        const FirstUse* first = deviceForms_[device].Note(form, {point, line}, formOf);
        if (first == nullptr) continue;
        const MessageArgument shownForm = rule.utf8 ? MessageArgument(form) : Shown(form);
        Add(line, Severity::Warning,
            Message(rule.numbered ? CheckDeviceNumbered : CheckDeviceSameName,
                    {rule.device, Shown(name), shownForm, Shown(pointNames_[first->point]),
                     first->line}));
    }
    if (Utf8FromWindows1251(name).size() > kCupNameBytes) {
        Add(line, Severity::Warning, Message(CheckCupNameCut, {kCupNameBytes, CupName(name)}));
    }
}

void ListChecker::CheckPosition(const PointRecord& record, const Position& position,
                                std::size_t point) {
    const std::size_t line = record.nameLine + 1;
    if (position.altitude &&
        (*position.altitude < kLowestAltitude || *position.altitude > kHighestAltitude)) {
        Add(line, Severity::Warning,
            Message(CheckImplausibleAltitude, {std::to_string(*position.altitude)}));
    }
    pointPositions_.push_back({position.lat, position.lon});
    const auto bytesOf = [this](const FirstUse& use) {
        return std::string_view(reinterpret_cast<const char*>(pointPositions_[use.point].data()),
                                sizeof(pointPositions_[use.point]));
    };
    const FirstUse* first = positions_.Note(bytesOf({point, 0}), {point, record.nameLine}, bytesOf);
    if (first != nullptr && pointNames_[first->point] != pointNames_[point]) {
        Add(line, Severity::Warning,
            Message(CheckRepeatedPosition, {Shown(pointNames_[first->point]), first->line}));
    }
    sections_.back().push_back({line, position.lat, position.lon});
}

// LK8000 takes 16 plain ASCII characters of a name (transliterated) and 499
// bytes of the first comment.
void ListChecker::CheckLK8000(const PointRecord& record, std::string_view name) {
    const std::size_t line = record.nameLine;
    const std::string latin = Transliterate(name);
    if (!transliterationNoted_ && latin != name) {
        transliterationNoted_ = true;
        Add(line, Severity::Note, Message(CheckTransliterated, {Shown(name), LK8000Name(name)}));
    }
    const auto notAscii = [](char c) { return c < 0x20 || c > 0x7E; };
    if (std::ranges::any_of(latin, notAscii)) {
        std::string replaced;  // the name's characters that have no Latin letters
        for (const char c : name) {
            if (std::ranges::any_of(Transliterate(std::string_view(&c, 1)), notAscii))
                replaced += c;
        }
        Add(line, Severity::Warning, Message(CheckLK8000Replaced, {Shown(replaced)}));
    }
    if (latin.size() > kLK8000NameLength) {
        Add(line, Severity::Warning,
            Message(CheckLK8000NameCut, {kLK8000NameLength, LK8000Name(name)}));
    }
    if (!record.comments.empty() &&
        Trim(Transliterate(record.comments.front())).size() > kLK8000CommentLength) {
        Add(line + 2, Severity::Warning, Message(CheckLK8000CommentCut, {kLK8000CommentLength}));
    }
}

// In a section of a few points, one far from the middle of the others has
// most likely a mistyped digit, or its latitude and longitude swapped when
// the swapped pair lies near them.
void ListChecker::CheckSections() {
    for (const std::vector<SectionPoint>& section : sections_) {
        if (section.size() < kSmallestCheckedSection) continue;
        std::vector<double> lats, lons;
        for (const SectionPoint& point : section) {
            lats.push_back(point.lat);
            lons.push_back(point.lon);
        }
        const double lat = Median(std::move(lats)), lon = Median(std::move(lons));
        const auto far = [&](const SectionPoint& point) {
            return DistanceKm(point.lat, point.lon, lat, lon) > kFarFromSectionKm;
        };
        // Many points far from the middle: a section spread wide, not a mistake.
        const std::size_t mostFar = std::max<std::size_t>(1, section.size() / 4);
        if (static_cast<std::size_t>(std::ranges::count_if(section, far)) > mostFar) continue;
        for (const SectionPoint& point : section) {
            if (!far(point)) continue;
            const double distance = DistanceKm(point.lat, point.lon, lat, lon);
            if (std::fabs(point.lon) <= 90 &&
                DistanceKm(point.lon, point.lat, lat, lon) <= kFarFromSectionKm) {
                Add(point.line, Severity::Warning, Message(CheckSwappedInSection));
            } else {
                Add(point.line, Severity::Warning,
                    Message(CheckFarFromSection,
                            {static_cast<std::size_t>(std::lround(distance))}));
            }
        }
    }
}

std::vector<Diagnostic> ListChecker::Finish(const LineEndUse& lineEnds) {
    CheckSections();
    if (lineEnds.firstOtherLine != 0) {
        Add(lineEnds.firstOtherLine, Severity::Note, Message(CheckMixedLineEnds));
    }
    std::ranges::stable_sort(diagnostics_, {}, &Diagnostic::line);
    return std::move(diagnostics_);
}

}  // namespace

MessageId SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return CheckSeverityError;
        case Severity::Warning:
            return CheckSeverityWarning;
        case Severity::Note:
            break;
    }
    return CheckSeverityNote;
}

DiagnosticCounts CountDiagnostics(const std::vector<Diagnostic>& diagnostics) {
    DiagnosticCounts counts;
    for (const Diagnostic& diagnostic : diagnostics) {
        switch (diagnostic.severity) {
            case Severity::Error:
                ++counts.errors;
                break;
            case Severity::Warning:
                ++counts.warnings;
                break;
            case Severity::Note:
                ++counts.notes;
                break;
        }
    }
    return counts;
}

std::vector<Diagnostic> CheckPointList(TextInput& input, bool readAsUtf8) {
    ListChecker checker(readAsUtf8);
    PointListReader reader(input);
    PointRecord record;
    while (reader.Next(record)) checker.Check(record);
    return checker.Finish(input.LineEnds());
}

std::vector<Diagnostic> CheckPointListFile(const std::filesystem::path& file) {
    const FileHandle handle = OpenInputFile(file);
    // A list with a NUL byte is still checked: the check names its line.
    const FileFormat format = RecogniseFormat(ReadHead(handle.get(), kRecognisedBytes));
    if (format != FileFormat::Binary) CheckReadable(InputKind::PointList, format, file);
    TextInput input(handle.get(), PathText(file));
    const bool utf8 = input.DecodeUtf8WhenDetected();
    return CheckPointList(input, utf8);
}

}  // namespace oradel
