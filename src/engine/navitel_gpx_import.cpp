#include "engine/navitel_gpx_import.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/point_list_reader.hpp"
#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

// The GPX is not parsed as XML: the file is one text in which each lat=" that
// starts an attribute opens a point. A point's text runs from there to the
// next such marker (or the end of the file) and holds, in this order, lon=",
// <name>...</name> and optionally <desc>...</desc>. Every search stays inside
// the point's text, so a point that lacks a marker cannot take the next
// point's values. The file is read in blocks; only the current point's text
// (or, between points, the last few bytes) is held.

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::string_view kLatMarker = "lat=\"";
constexpr std::string_view kLonMarker = "lon=\"";
constexpr std::string_view kNameOpen = "<name>";
constexpr std::string_view kNameClose = "</name>";
constexpr std::string_view kDescOpen = "<desc>";
constexpr std::string_view kDescClose = "</desc>";

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the scan stands in the markup: in text content, inside a tag (where
// attributes stand), inside a quoted attribute value, or inside a comment,
// CDATA section, declaration or processing instruction ("<!", "<?").
class MarkupPosition {
  public:
    enum class Place { Text, TagStart, Tag, Quoted, Other };

    explicit MarkupPosition(Place place = Place::Text, char quote = 0)
        : place_(place), quote_(quote) {}

    bool InTag() const { return place_ == Place::Tag; }

    // Moves past every byte of `text`, jumping to the next byte that can
    // change the place.
    void AdvanceOver(std::string_view text) {
        const char* next = text.data();
        const char* const end = next + text.size();
        while (next != end) next = AdvanceFrom(next, end);
    }

  private:
    // Moves past the bytes from `next` up to the next one that changes the
    // place (or `end`) and returns where the scan goes on.
    const char* AdvanceFrom(const char* next, const char* end) {
        switch (place_) {
            case Place::Text:
                return PastByte(next, end, '<', Place::TagStart);
            case Place::TagStart:
                if (*next == '!' || *next == '?') {
                    place_ = Place::Other;
                    return next + 1;
                }
                place_ = Place::Tag;  // the byte after '<' is read again as part of the tag
                return next;
            case Place::Tag:
                return PastTagByte(next, end);
            case Place::Quoted:
                return PastByte(next, end, quote_, Place::Tag);
            case Place::Other:
                return PastByte(next, end, '>', Place::Text);
        }
        return end;
    }

    // Past the first `wanted` (the place becoming `after`), or `end` without one.
    const char* PastByte(const char* next, const char* end, char wanted, Place after) {
        const void* found = std::memchr(next, wanted, static_cast<std::size_t>(end - next));
        if (found == nullptr) return end;
        place_ = after;
        return static_cast<const char*>(found) + 1;
    }

    // Past the first quote or '>' of a tag; tags are short, so a plain loop.
    const char* PastTagByte(const char* next, const char* end) {
        for (; next != end; ++next) {
            const char c = *next;
            if (c == '"' || c == '\'') {
                place_ = Place::Quoted;
                quote_ = c;
                return next + 1;
            }
            if (c == '>') {
                place_ = Place::Text;
                return next + 1;
            }
        }
        return end;
    }

    Place place_;
    char quote_;
};

// The first `marker` at or after `from` with white space before it, so that
// minlat=" of a bounds element does not count. The caller checks that it
// stands inside a tag.
std::size_t FindAttribute(std::string_view text, std::string_view marker, std::size_t from) {
    for (std::size_t at = text.find(marker, from); at != kNone; at = text.find(marker, at + 1)) {
        if (at > 0 && IsXmlSpace(text[at - 1])) return at;
    }
    return kNone;
}

// The first `marker` that starts an attribute of a tag, scanning `text` from
// its start, where the markup stands at `position`.
std::size_t FindAttributeInTag(std::string_view text, std::string_view marker,
                               MarkupPosition position) {
    std::size_t scanned = 0;
    for (std::size_t at = FindAttribute(text, marker, 0); at != kNone;
         at = FindAttribute(text, marker, at + 1)) {
        position.AdvanceOver(text.substr(scanned, at - scanned));
        scanned = at;
        if (position.InTag()) return at;
    }
    return kNone;
}

// The text from `from` up to the first `closing`; empty when there is none.
std::string_view ValueUpTo(std::string_view text, std::size_t from, std::string_view closing) {
    const std::size_t end = text.find(closing, from);
    return end == kNone ? std::string_view() : text.substr(from, end - from);
}

// "&#1070;" or "&#x42E;" at the start of `text`.
std::size_t ReadNumericReference(std::string_view text, char32_t& character) {
    const bool hex = text.size() > 2 && text[2] == 'x';
    std::size_t pos = hex ? 3 : 2;
    const std::size_t digitsFrom = pos;
    char32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) break;
        if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    if (pos == digitsFrom || pos == text.size() || text[pos] != ';') return 0;
    // Only characters XML allows: no NUL, Ctrl+Z or other control bytes, no surrogates.
    const bool allowed =
        value == 0x9 || value == 0xA || value == 0xD || (value >= 0x20 && value <= 0xD7FF) ||
        (value >= 0xE000 && value <= 0xFFFD) || (value >= 0x10000 && value <= 0x10FFFF);
    if (!allowed) return 0;
    character = value;
    return pos + 1;
}

// XML's predefined entities and character references: the length of the
// reference at the start of `text` and its character, or 0 when there is none.
std::size_t ReadReference(std::string_view text, char32_t& character) {
    struct Entity {
        std::string_view name;
        char32_t character;
    };
    static constexpr Entity kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    if (text.size() > 1 && text[1] == '#') return ReadNumericReference(text, character);
    for (const Entity& entity : kEntities) {
        if (text.starts_with(entity.name)) {
            character = entity.character;
            return entity.name.size();
        }
    }
    return 0;
}

// Decodes one value into Windows-1251 text: as UTF-8 when the value is
// well-formed UTF-8, otherwise byte for byte as Windows-1251 (a GPX saved in
// that code page). Deciding per value needs no second pass over the file, and
// Cyrillic Windows-1251 text is practically never well-formed UTF-8.
// References are decoded; each line break (CR LF, CR or LF) becomes one
// space, so a value never breaks the list's lines.
class ValueDecoder {
  public:
    void Decode(std::string_view raw, std::string& out);

  private:
    void Append(char byte);
    static char32_t NextUtf8(std::string_view raw, std::size_t& pos);

    std::string* out_ = nullptr;
    bool afterCr_ = false;
};

class PointScanner {
  public:
    explicit PointScanner(TextOutput& output) : output_(output) {}

    void Feed(std::string_view chunk);
    void Finish();

  private:
    std::size_t FindPointStart(std::size_t from);
    void ScanMarkupTo(std::size_t end);
    void WritePoint(std::string_view point);

    TextOutput& output_;
    unsigned namelessPoints_ = 0;
    std::string text_;  // unprocessed input: the current point's text, or a short tail
    bool inPoint_ = false;
    std::size_t searchFrom_ = 0;
    MarkupPosition markup_;    // where the markup stands at text_[scanned_]
    std::size_t scanned_ = 0;  // the bytes of text_ before it have moved markup_
    ValueDecoder decoder_;
    std::string line_, lonLine_;
};

// Decodes the character at `pos` of well-formed UTF-8 and moves past it.
char32_t ValueDecoder::NextUtf8(std::string_view raw, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(raw[pos++]);
    if (lead < 0x80) return lead;
    const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t character = lead & (0x3F >> trailing);
    for (int i = 0; i < trailing; ++i) {
        character = (character << 6) | (static_cast<unsigned char>(raw[pos++]) & 0x3F);
    }
    return character;
}

void ValueDecoder::Append(char byte) {
    const bool skip = byte == '\n' && afterCr_;  // the LF of a CR LF pair
    afterCr_ = byte == '\r';
    if (skip) return;
    out_->push_back(byte == '\r' || byte == '\n' ? ' ' : byte);
}

// True when the value holds a reference or a line break, which need the
// byte-by-byte decoding.
bool NeedsByteDecoding(std::string_view raw) {
    for (const char c : raw) {
        if (c == '&' || c == '\r' || c == '\n') return true;
    }
    return false;
}

void ValueDecoder::Decode(std::string_view raw, std::string& out) {
    if (!NeedsByteDecoding(raw)) {
        if (!TryCp1251FromUtf8(raw, out)) out.assign(raw);
        return;
    }
    out.clear();
    out_ = &out;
    afterCr_ = false;
    const bool utf8 = IsWellFormedUtf8(raw);
    std::size_t pos = 0;
    while (pos < raw.size()) {
        char32_t character = 0;
        if (raw[pos] == '&') {
            if (const std::size_t length = ReadReference(raw.substr(pos), character)) {
                pos += length;
                Append(UnicodeToCp1251(character));
                continue;
            }
        }
        if (utf8) {
            Append(UnicodeToCp1251(NextUtf8(raw, pos)));
        } else {
            Append(raw[pos++]);
        }
    }
}

void PointScanner::ScanMarkupTo(std::size_t end) {
    if (end <= scanned_) return;
    markup_.AdvanceOver(std::string_view(text_).substr(scanned_, end - scanned_));
    scanned_ = end;
}

// The next lat=" at or after `from` that starts an attribute of a tag; a lat="
// in text content, a comment or an attribute value opens no point.
std::size_t PointScanner::FindPointStart(std::size_t from) {
    for (std::size_t at = FindAttribute(text_, kLatMarker, from); at != kNone;
         at = FindAttribute(text_, kLatMarker, at + 1)) {
        ScanMarkupTo(at);
        if (markup_.InTag()) return at;
    }
    return kNone;
}

void PointScanner::Feed(std::string_view chunk) {
    text_.append(chunk);
    std::size_t pointStart = 0;
    for (std::size_t marker = FindPointStart(searchFrom_); marker != kNone;
         marker = FindPointStart(searchFrom_)) {
        if (inPoint_) WritePoint(std::string_view(text_).substr(pointStart, marker - pointStart));
        inPoint_ = true;
        pointStart = marker + kLatMarker.size();
        searchFrom_ = pointStart;
    }
    // A marker may begin in the last few bytes and end in the next chunk.
    const std::size_t undecided = text_.size() - std::min(text_.size(), kLatMarker.size() - 1);
    searchFrom_ = std::max(searchFrom_, undecided);
    // Outside a point only the undecided bytes and the one before them are kept.
    const std::size_t keepFrom =
        inPoint_ ? pointStart : searchFrom_ - std::min<std::size_t>(searchFrom_, 1);
    ScanMarkupTo(keepFrom);
    text_.erase(0, keepFrom);
    searchFrom_ -= keepFrom;
    scanned_ -= keepFrom;
}

void PointScanner::Finish() {
    if (inPoint_) WritePoint(text_);
    text_.clear();
    inPoint_ = false;
}

// `point` is the text after its lat=" up to the next point's lat=".
void PointScanner::WritePoint(std::string_view point) {
    std::size_t pos = 0;
    const std::string_view lat = ValueUpTo(point, 0, "\"");
    std::string_view lon, name, desc;
    // The point's text begins inside the quoted value of its lat attribute.
    const MarkupPosition inLatValue(MarkupPosition::Place::Quoted, '"');
    if (const std::size_t at = FindAttributeInTag(point, kLonMarker, inLatValue); at != kNone) {
        pos = at + kLonMarker.size();
        lon = ValueUpTo(point, pos, "\"");
    }
    if (const std::size_t at = point.find(kNameOpen, pos); at != kNone) {
        pos = at + kNameOpen.size();
        name = ValueUpTo(point, pos, kNameClose);
    }
    if (const std::size_t at = point.find(kDescOpen, pos); at != kNone) {
        desc = ValueUpTo(point, at + kDescOpen.size(), kDescClose);
    }

    decoder_.Decode(name, line_);
    if (TrimView(line_).empty()) line_ = UnnamedPointName(++namelessPoints_);
    output_.WriteLine(line_);
    decoder_.Decode(lat, line_);
    decoder_.Decode(lon, lonLine_);
    line_ += ' ';
    line_ += lonLine_;
    output_.WriteLine(line_);
    if (!desc.empty()) {
        decoder_.Decode(desc, line_);
        output_.WriteLine(line_);
    }
    output_.WriteLine("");
}

}  // namespace

// <wpt lat="55.751244" lon="37.618423"><name>Гора</name><desc>старт, юг</desc></wpt>
void ImportNavitelGpx(ConversionContext& context) {
    PointScanner scanner(context.output);
    std::string chunk;
    while (context.input.ReadChunk(chunk)) scanner.Feed(chunk);
    scanner.Finish();
}

}  // namespace oradel
