#include "engine/navitel_gpx_import.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/coordinates.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/xml_tokens.hpp"
#include "text/codepage.hpp"
#include "text/imported_text.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

// Every wpt, rtept and trkpt element is a point: its lat and lon attributes
// and the text of its own name and desc children (direct children only, the
// first of each; CDATA kept, references decoded). Whatever stands outside a
// point element (a track's or route's name, comments) never reaches a point.

enum class Encoding { Utf8, Latin1, Windows1252, Windows1251 };

// The encodings a declaration may name, compared without letter case.
constexpr std::pair<std::string_view, Encoding> kEncodingNames[] = {
    {"utf-8", Encoding::Utf8},
    {"utf8", Encoding::Utf8},
    {"us-ascii", Encoding::Utf8},
    {"ascii", Encoding::Utf8},
    {"iso-8859-1", Encoding::Latin1},
    {"iso8859-1", Encoding::Latin1},
    {"iso_8859-1", Encoding::Latin1},
    {"latin1", Encoding::Latin1},
    {"windows-1252", Encoding::Windows1252},
    {"cp1252", Encoding::Windows1252},
    {"windows-1251", Encoding::Windows1251},
    {"cp1251", Encoding::Windows1251},
};

// Unicode characters of Windows-1252's bytes 0x80-0x9F (the rest is ISO-8859-1).
constexpr std::array<char16_t, 32> kWindows1252Controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsPointElement(std::string_view name) {
    return name == "wpt" || name == "rtept" || name == "trkpt";
}

// The element name without its namespace prefix.
std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view AttributeValue(std::span<const XmlAttribute> attributes, std::string_view name) {
    for (const XmlAttribute& attribute : attributes) {
        if (LocalName(attribute.name) == name) return attribute.value;
    }
    return {};
}

[[noreturn]] void ThrowUnreadableEncoding(std::string_view encoding, const std::string& fileName) {
    throw UserError(Message(MessageId::UnreadableEncoding, {encoding, fileName}));
}

Encoding EncodingNamed(std::string_view declared, const std::string& fileName) {
    std::string name(TrimView(declared));
    for (char& c : name) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    for (const auto& [known, encoding] : kEncodingNames) {
        if (name == known) return encoding;
    }
    ThrowUnreadableEncoding(declared, fileName);
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

// The bytes of one value as written, and which of them came from CDATA
// sections (where references are not decoded).
struct RawValue {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> cdata;  // [begin, end) ranges
    bool seen = false;

    void Clear() {
        bytes.clear();
        cdata.clear();
        seen = false;
    }
};

// Decodes values into Windows-1251 text. Undeclared (or declared UTF-8)
// values are read as UTF-8 when they are well-formed UTF-8, otherwise byte
// for byte as Windows-1251 (a GPX saved in that code page); deciding per value
// needs no second pass over the file. Each line break (CR LF, CR or LF)
// becomes one character; the import table then makes it a space.
class ValueDecoder {
  public:
    Encoding encoding = Encoding::Utf8;

    // True when a character had to be replaced by its best fit or '?'.
    bool Decode(const RawValue& raw, std::string& out);

  private:
    void Append(char32_t character);
    std::size_t DecodeCharacter(std::string_view bytes, std::size_t pos, Encoding encoding);

    std::string* out_ = nullptr;
    bool afterCr_ = false;
    bool replaced_ = false;
};

// A value of plain UTF-8 text is decoded in one call; only references,
// CDATA, line breaks and other encodings need the character loop.
bool NeedsCharacterDecoding(const RawValue& raw, Encoding encoding) {
    if (encoding != Encoding::Utf8 || !raw.cdata.empty()) return true;
    return std::any_of(raw.bytes.begin(), raw.bytes.end(),
                       [](char c) { return c == '&' || c == '\r' || c == '\n'; });
}

bool ValueDecoder::Decode(const RawValue& raw, std::string& out) {
    if (!NeedsCharacterDecoding(raw, encoding)) {
        const Windows1251Conversion result = TryWindows1251FromUtf8(raw.bytes, out);
        if (result == Windows1251Conversion::Malformed) out.assign(raw.bytes);
        return result == Windows1251Conversion::Replaced;
    }
    out.clear();
    out_ = &out;
    afterCr_ = replaced_ = false;
    const std::string_view bytes = raw.bytes;
    const Encoding valueEncoding =
        encoding == Encoding::Utf8 && !IsWellFormedUtf8(bytes) ? Encoding::Windows1251 : encoding;
    std::size_t pos = 0;
    auto cdata = raw.cdata.begin();
    while (pos < bytes.size()) {
        while (cdata != raw.cdata.end() && cdata->second <= pos) ++cdata;
        const bool inCData = cdata != raw.cdata.end() && cdata->first <= pos;
        char32_t character = 0;
        if (bytes[pos] == '&' && !inCData) {
            const std::size_t end = cdata == raw.cdata.end() ? bytes.size() : cdata->first;
            if (const std::size_t length = ReadReference(bytes.substr(pos, end - pos), character)) {
                Append(character);
                pos += length;
                continue;
            }
        }
        pos += DecodeCharacter(bytes, pos, valueEncoding);
    }
    return replaced_;
}

std::size_t ValueDecoder::DecodeCharacter(std::string_view bytes, std::size_t pos,
                                          Encoding encoding) {
    const auto byte = static_cast<unsigned char>(bytes[pos]);
    char32_t character = byte;
    switch (encoding) {
        case Encoding::Utf8: {
            const std::size_t length = DecodeUtf8(bytes, pos, character);
            Append(character);
            return length;
        }
        case Encoding::Windows1251:
            Append(Windows1251ToUnicode(byte));
            return 1;
        case Encoding::Windows1252:
            if (byte >= 0x80 && byte <= 0x9F) character = kWindows1252Controls[byte - 0x80];
            break;
        case Encoding::Latin1:
            break;
    }
    Append(character);
    return 1;
}

void ValueDecoder::Append(char32_t character) {
    const bool skip = character == '\n' && afterCr_;  // the LF of a CR LF pair
    afterCr_ = character == '\r';
    if (!skip && !AppendWindows1251(*out_, character)) replaced_ = true;
}

// Collects the points from the tokens and writes each as a record of the list.
class GpxPoints final : public XmlHandler {
  public:
    GpxPoints(TextOutput& output, JobState& state, std::string fileName)
        : output_(output), state_(state), fileName_(std::move(fileName)) {}

    void Declaration(std::span<const XmlAttribute> attributes) override;
    void StartTag(std::string_view name, std::span<const XmlAttribute> attributes,
                  bool empty) override;
    void EndTag(std::string_view name) override;
    void Text(std::string_view raw) override;
    void CData(std::string_view text) override;
    void Finish();

  private:
    void BeginPoint(std::span<const XmlAttribute> attributes);
    void WritePoint();
    void WriteText(const RawValue& raw, ImportedField field);

    TextOutput& output_;
    JobState& state_;
    std::string fileName_;
    ValueDecoder decoder_;
    bool inPoint_ = false;
    int depth_ = 0;              // open child elements of the point
    RawValue* field_ = nullptr;  // the name or desc being read
    RawValue lat_, lon_, name_, desc_, ele_;
    std::string line_, lonLine_;
    unsigned namelessPoints_ = 0;
};

void GpxPoints::Declaration(std::span<const XmlAttribute> attributes) {
    const std::string_view declared = AttributeValue(attributes, "encoding");
    if (!declared.empty()) decoder_.encoding = EncodingNamed(declared, fileName_);
}

void GpxPoints::BeginPoint(std::span<const XmlAttribute> attributes) {
    inPoint_ = true;
    depth_ = 0;
    field_ = nullptr;
    for (RawValue* value : {&lat_, &lon_, &name_, &desc_, &ele_}) value->Clear();
    lat_.bytes = AttributeValue(attributes, "lat");
    lon_.bytes = AttributeValue(attributes, "lon");
}

void GpxPoints::StartTag(std::string_view name, std::span<const XmlAttribute> attributes,
                         bool empty) {
    const std::string_view local = LocalName(name);
    if (IsPointElement(local) && (!inPoint_ || depth_ == 0)) {
        if (inPoint_) WritePoint();  // the previous point was never closed
        BeginPoint(attributes);
        if (empty) WritePoint();
        return;
    }
    if (!inPoint_ || empty) return;
    if (depth_ == 0) {
        RawValue* field = local == "name"   ? &name_
                          : local == "desc" ? &desc_
                          : local == "ele"  ? &ele_
                                            : nullptr;
        if (field != nullptr && !field->seen) {
            field->seen = true;
            field_ = field;
        }
    }
    ++depth_;
}

void GpxPoints::EndTag(std::string_view) {
    if (!inPoint_) return;
    if (depth_ == 0) {
        WritePoint();
        return;
    }
    if (--depth_ == 0) field_ = nullptr;
}

void GpxPoints::Text(std::string_view raw) {
    if (field_ != nullptr) field_->bytes.append(raw);
}

void GpxPoints::CData(std::string_view text) {
    if (field_ == nullptr) return;
    const std::size_t begin = field_->bytes.size();
    field_->bytes.append(text);
    field_->cdata.emplace_back(begin, field_->bytes.size());
}

// A file that ends inside a point (a download cut short) keeps its complete
// points; the partial one is left out, and the user is told.
void GpxPoints::Finish() {
    if (inPoint_) state_.notices.emplace_back(MessageId::TruncatedGpx);
}

// Name, coordinates (with the altitude of <ele> when it reads as a number),
// the description when there is one, and the empty line.
void GpxPoints::WritePoint() {
    inPoint_ = false;
    field_ = nullptr;
    if (decoder_.Decode(name_, line_)) ++state_.replacedTexts;
    KeepAsListText(line_, ImportedField::Name);
    if (TrimView(line_).empty()) line_ = UnnamedPointName(++namelessPoints_);
    output_.WriteLine(line_);
    decoder_.Decode(lat_, line_);
    decoder_.Decode(lon_, lonLine_);
    line_ += ' ';
    line_ += lonLine_;
    decoder_.Decode(ele_, lonLine_);
    if (const std::optional<long> altitude = ReadAltitude(lonLine_)) {
        line_ += ' ' + std::to_string(*altitude);  // metres, as GPX gives them
    }
    KeepAsListText(line_, ImportedField::Comment);
    output_.WriteLine(line_);
    if (decoder_.Decode(desc_, line_)) ++state_.replacedTexts;
    KeepAsListText(line_, ImportedField::Comment);
    if (!TrimView(line_).empty()) output_.WriteLine(line_);
    output_.WriteLine("");
}

}  // namespace

// <wpt lat="55.751244" lon="37.618423"><name>Гора</name><desc>старт, юг</desc></wpt>
void ImportNavitelGpx(ConversionContext& context) {
    GpxPoints points(context.output, context.state, PathText(context.inputPath));
    XmlTokenizer tokenizer(points, PathText(context.inputPath));
    std::string chunk;
    for (bool first = true; context.input.ReadChunk(chunk); first = false) {
        // A UTF-16 file has no readable declaration: its byte-order mark tells.
        if (first && (chunk.starts_with("\xFF\xFE") || chunk.starts_with("\xFE\xFF"))) {
            ThrowUnreadableEncoding("UTF-16", PathText(context.inputPath));
        }
        tokenizer.Feed(chunk);
    }
    tokenizer.Finish();
    points.Finish();
}

}  // namespace oradel
