#include "text/markup.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>
#include <vector>

#include "text/codepage.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsPhoneFiller(char c) {
    return c == ' ' || c == '-' || c == '(' || c == ')';
}

// ---------------------------------------------------------------------------
// Link and phone markup.
//
// One pass (links with "[", "|", "]", phones with "{", "|", "}") repeats: cut
// the trimmed text at the first opening bracket into head and rest; cut the
// rest at the first "|" into address and the remainder; cut that at the first
// closing bracket into title and tail; rebuild head + open + address + middle +
// title + close + tail and scan the whole result again. Every piece it builds
// comes from the input in its original order: the head is final, the opening
// bracket becomes `open`, the "|" becomes `middle`, the closing bracket `close`,
// blanks after them are dropped, and when "|" or the closing bracket is missing
// the literals go to the very end. The literals hold no bracket and no "|".
// So the pass keeps the input once, with a slot per unit saying what it has
// become, and three cursors that only move forward: the found "|" and closing
// brackets come in increasing order. The phone pass also cleans the number
// (everything between the opening bracket and the "|"); numbers found later lie
// inside or after earlier ones, so each unit is cleaned once.
//
// The result can be some thirty times longer than the line ("[[[[..."), so it
// is handed on in pieces and never held whole: the literals waiting for the
// end are kept as one byte each. When a line has both kinds of markup, the
// link pass hands the phone pass units: the line's bytes (0 to 255) and its
// literals (from 256 on), two bytes each.

constexpr std::string_view kLinkOpen = "<a href=\"";
constexpr std::string_view kPhoneOpen = "<a href=\"tel:";
constexpr std::string_view kAnchorMiddle = "\" target=\"_blank\">";
constexpr std::string_view kAnchorClose = "</a>";

enum Literal : unsigned char { kLinkOpenLiteral, kPhoneOpenLiteral, kMiddleLiteral, kCloseLiteral };

// A literal as written, or with the phone number's fillers removed.
std::string_view LiteralText(Literal literal, bool cleaned) {
    switch (literal) {
        case kLinkOpenLiteral:
            return cleaned ? "<ahref=\"" : kLinkOpen;
        case kPhoneOpenLiteral:
            return cleaned ? "<ahref=\"tel:" : kPhoneOpen;
        case kMiddleLiteral:
            return cleaned ? "\"target=\"_blank\">" : kAnchorMiddle;
        case kCloseLiteral:
            break;
    }
    return kAnchorClose;
}

constexpr char16_t kFirstLiteralUnit = 0x100;

// A unit of a pass's text: a byte, or (from kFirstLiteralUnit on) a literal
// of the link pass, plain or cleaned.
constexpr char16_t LiteralUnit(Literal literal, bool cleaned) {
    return static_cast<char16_t>(kFirstLiteralUnit + 2 * literal + (cleaned ? 1 : 0));
}
template <class Unit>
bool IsBlankUnit(Unit unit) {
    return static_cast<unsigned>(unit) < 0x100 && IsBlank(static_cast<char>(unit));
}
template <class Unit>
bool IsFillerUnit(Unit unit) {
    return static_cast<unsigned>(unit) < 0x100 && IsPhoneFiller(static_cast<char>(unit));
}
template <class Unit>
std::basic_string_view<Unit> TrimUnits(std::basic_string_view<Unit> text) {
    while (!text.empty() && IsBlankUnit(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankUnit(text.back())) text.remove_suffix(1);
    return text;
}

// Collects the link pass's result as units for the phone pass.
struct UnitsOut {
    std::u16string units;
    void Byte(char c) { units.push_back(static_cast<unsigned char>(c)); }
    void Put(Literal literal, bool cleaned) { units.push_back(LiteralUnit(literal, cleaned)); }
};

// Hands the result on in pieces of about 64 KB. With `trimmed`, blanks at its
// start and end are left out (held back until something else follows them).
class TextOut {
  public:
    TextOut(const MarkupPieces& append, bool trimmed) : append_(append), trimmed_(trimmed) {}

    void Byte(char c) {
        if (trimmed_ && IsBlank(c)) {
            if (started_) blanks_.push_back(c);
            return;
        }
        Text(std::string_view(&c, 1));
    }
    void Put(Literal literal, bool cleaned) { Text(LiteralText(literal, cleaned)); }

    // Hands on the rest; trailing blanks held back are left out.
    void Flush() {
        if (!buffer_.empty()) append_(buffer_);
        buffer_.clear();
    }

  private:
    void Text(std::string_view text) {
        started_ = true;
        buffer_ += blanks_;
        blanks_.clear();
        buffer_ += text;
        if (buffer_.size() >= kPieceSize) Flush();
    }

    static constexpr std::size_t kPieceSize = 1 << 16;
    const MarkupPieces& append_;
    bool trimmed_;
    bool started_ = false;
    std::string buffer_;
    std::string blanks_;
};

enum class Slot : unsigned char { Keep, Dropped, Cleaned, Middle, MiddleCleaned, Close };

struct MarkupKind {
    char openBracket;
    char closeBracket;
    Literal open;
    bool cleanNumber;
};

constexpr MarkupKind kLinks{'[', ']', kLinkOpenLiteral, false};
constexpr MarkupKind kPhones{'{', '}', kPhoneOpenLiteral, true};

template <class Unit, class Out>
class MarkupPass {
  public:
    MarkupPass(std::basic_string_view<Unit> line, const MarkupKind& kind, Out& out)
        : text_(TrimUnits(line)), kind_(kind), slots_(text_.size(), Slot::Keep), out_(out) {}

    void Run();

  private:
    std::size_t Find(char unit, std::size_t from) const {
        return text_.find(static_cast<Unit>(static_cast<unsigned char>(unit)), from);
    }
    void Render(std::size_t from, std::size_t to);
    void RenderUnit(Unit unit, bool cleaned) {
        if constexpr (std::is_same_v<Unit, char16_t>) {
            if (unit >= kFirstLiteralUnit) {
                const unsigned index = unit - kFirstLiteralUnit;
                out_.Put(static_cast<Literal>(index / 2), cleaned || index % 2 == 1);
                return;
            }
        }
        out_.Byte(static_cast<char>(unit));
    }
    std::size_t SkipDropped(std::size_t pos) const;
    std::size_t DropBlanks(std::size_t pos);
    void CleanNumber(std::size_t from, std::size_t to);
    void CleanLiteralsAtEnd();
    bool ExpandOne(std::size_t openAt);

    const std::basic_string_view<Unit> text_;
    const MarkupKind& kind_;
    std::vector<Slot> slots_;
    Out& out_;
    std::vector<Literal> literalsAtEnd_;  // placed after the last unit of the text
    std::size_t literalsCleaned_ = 0;     // so many of them, from the first, are cleaned
    std::size_t front_ = 0;               // first unit not yet final
    std::size_t nextPipe_ = 0;
    std::size_t nextClose_ = 0;
    std::size_t cleanedUpTo_ = 0;
};

template <class Unit, class Out>
void MarkupPass<Unit, Out>::Run() {
    for (;;) {
        const std::size_t openAt = Find(kind_.openBracket, front_);
        if (openAt == kNone) {
            Render(front_, text_.size());
            for (std::size_t i = 0; i < literalsAtEnd_.size(); ++i) {
                out_.Put(literalsAtEnd_[i], i < literalsCleaned_);
            }
            return;
        }
        if (!ExpandOne(openAt)) return;
    }
}

// Expands the markup opened at `openAt`; false when the bracket ends the text,
// which ends the pass with the text before it.
template <class Unit, class Out>
bool MarkupPass<Unit, Out>::ExpandOne(std::size_t openAt) {
    Render(front_, openAt);
    const std::size_t afterOpen = SkipDropped(openAt + 1);
    if (afterOpen == text_.size() && literalsAtEnd_.empty()) return false;
    out_.Put(kind_.open, false);
    front_ = DropBlanks(afterOpen);

    const std::size_t pipeAt = Find('|', std::max(front_, nextPipe_));
    if (pipeAt == kNone) {
        nextPipe_ = text_.size();
        if (kind_.cleanNumber) {
            CleanNumber(std::max(front_, cleanedUpTo_), text_.size());
            cleanedUpTo_ = text_.size();
            CleanLiteralsAtEnd();
        }
        literalsAtEnd_.push_back(kMiddleLiteral);
        literalsAtEnd_.push_back(kCloseLiteral);
        return true;
    }
    slots_[pipeAt] = Slot::Middle;
    nextPipe_ = pipeAt + 1;
    if (kind_.cleanNumber) {
        CleanNumber(std::max(front_, cleanedUpTo_), pipeAt);
        cleanedUpTo_ = std::max(cleanedUpTo_, pipeAt);
    }
    DropBlanks(pipeAt + 1);

    const std::size_t closeAt = Find(kind_.closeBracket, std::max(pipeAt + 1, nextClose_));
    if (closeAt == kNone) {
        nextClose_ = text_.size();
        literalsAtEnd_.push_back(kCloseLiteral);
    } else {
        slots_[closeAt] = Slot::Close;
        nextClose_ = closeAt + 1;
    }
    return true;
}

template <class Unit, class Out>
void MarkupPass<Unit, Out>::Render(std::size_t from, std::size_t to) {
    for (std::size_t pos = from; pos < to; ++pos) {
        switch (slots_[pos]) {
            case Slot::Keep:
                RenderUnit(text_[pos], false);
                break;
            case Slot::Dropped:
                break;
            case Slot::Cleaned:  // a literal of the link pass inside a phone number
                RenderUnit(text_[pos], true);
                break;
            case Slot::Middle:
                out_.Put(kMiddleLiteral, false);
                break;
            case Slot::MiddleCleaned:
                out_.Put(kMiddleLiteral, true);
                break;
            case Slot::Close:
                out_.Put(kCloseLiteral, false);
                break;
        }
    }
}

template <class Unit, class Out>
std::size_t MarkupPass<Unit, Out>::SkipDropped(std::size_t pos) const {
    while (pos < text_.size() && slots_[pos] == Slot::Dropped) ++pos;
    return pos;
}

// Drops the blanks from `pos` on, as trimming the start of the rest does;
// returns the first position kept.
template <class Unit, class Out>
std::size_t MarkupPass<Unit, Out>::DropBlanks(std::size_t pos) {
    for (; pos < text_.size(); ++pos) {
        if (slots_[pos] == Slot::Keep && IsBlankUnit(text_[pos])) {
            slots_[pos] = Slot::Dropped;
        } else if (slots_[pos] != Slot::Dropped) {
            break;
        }
    }
    return pos;
}

template <class Unit, class Out>
void MarkupPass<Unit, Out>::CleanNumber(std::size_t from, std::size_t to) {
    for (std::size_t pos = from; pos < to; ++pos) {
        if (slots_[pos] == Slot::Keep && IsFillerUnit(text_[pos])) {
            slots_[pos] = Slot::Dropped;
        } else if (slots_[pos] == Slot::Keep &&
                   static_cast<unsigned>(text_[pos]) >= kFirstLiteralUnit) {
            slots_[pos] = Slot::Cleaned;
        } else if (slots_[pos] == Slot::Middle) {
            slots_[pos] = Slot::MiddleCleaned;
        }
    }
}

// Every literal waiting for the end so far lies inside the number.
template <class Unit, class Out>
void MarkupPass<Unit, Out>::CleanLiteralsAtEnd() {
    literalsCleaned_ = literalsAtEnd_.size();
}

template <class Unit, class Out>
void RunPass(std::basic_string_view<Unit> line, const MarkupKind& kind, Out& out) {
    MarkupPass<Unit, Out>(line, kind, out).Run();
}

// ---------------------------------------------------------------------------
// Transliteration.

// The letters and, at the same positions, their Latin strings: the Russian
// alphabet, then the Ukrainian and Belarusian letters and the number sign.
constexpr std::string_view TranslitLetters =
    "абвгдеёжзийклмнопрстуфхцчшщьыъэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЬЫЪЭЮЯ"
    "іїєґўІЇЄҐЎ№";
constexpr std::array<std::string_view, 77> TranslitTable = {
    "a",  "b",  "v", "g",  "d",  "e", "yo", "zh", "z",  "i",  "y",    "k",    "l", "m", "n", "o",
    "p",  "r",  "s", "t",  "u",  "f", "kh", "ts", "ch", "sh", "shch", "'",    "y", "'", "e", "yu",
    "ya", "A",  "B", "V",  "G",  "D", "E",  "Yo", "Zh", "Z",  "I",    "Y",    "K", "L", "M", "N",
    "O",  "P",  "R", "S",  "T",  "U", "F",  "Kh", "Ts", "Ch", "Sh",   "Shch", "'", "Y", "'", "E",
    "Yu", "Ya", "i", "yi", "ye", "g", "u",  "I",  "Yi", "Ye", "G",    "U",    "N",
};

// Every byte's Latin string; bytes that are not letters of the table stand
// for themselves (an empty entry).
const std::array<std::string_view, 256>& TranslitByByte() {
    static const std::array<std::string_view, 256> map = [] {
        std::array<std::string_view, 256> byByte{};
        const std::string letters = Windows1251FromUtf8(TranslitLetters);
        for (std::size_t k = 0; k < letters.size() && k < TranslitTable.size(); ++k) {
            byByte[static_cast<unsigned char>(letters[k])] = TranslitTable[k];
        }
        return byByte;
    }();
    return map;
}

// ---------------------------------------------------------------------------
// URL encoding.

bool IsKeptInUrl(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
        return true;
    }
    return std::u16string_view(u"-_.!*~\\()").find(c) != std::u16string_view::npos;
}

}  // namespace

std::string StripFilterTag(std::string_view name) {
    const std::size_t open = name.find('<');
    const std::size_t close = name.find('>');
    if (open == kNone || close == kNone || close < open) return Trim(name);
    std::string rest(name.substr(0, open));
    rest.append(name.substr(close + 1));
    return Trim(rest);
}

std::string ExtractFilterTag(std::string_view name) {
    const std::size_t open = name.find('<');
    const std::size_t close = name.find('>');
    if (open == kNone || close == kNone || close < open) return {};
    return Trim(name.substr(open + 1, close - open - 1));
}

void ExpandLinkMarkup(std::string_view line, const MarkupPieces& append) {
    const bool links = line.find('[') != kNone;
    const bool phones = line.find('{') != kNone;  // the link pass adds no "{"
    if (!links && !phones) {
        const std::string_view trimmed = TrimView(line);
        if (!trimmed.empty()) append(trimmed);
        return;
    }
    TextOut out(append, !phones);  // the phone pass trims what it is given
    if (links && phones) {
        UnitsOut linked;
        RunPass(line, kLinks, linked);
        RunPass(std::u16string_view(linked.units), kPhones, out);
    } else {
        RunPass(line, links ? kLinks : kPhones, out);
    }
    out.Flush();
}

std::string Transliterate(std::string_view text) {
    const auto& map = TranslitByByte();
    std::string latinText;
    latinText.reserve(text.size());  // a letter gives one Latin letter or more
    for (const char c : text) {
        const std::string_view latin = map[static_cast<unsigned char>(c)];
        if (latin.empty()) {
            latinText += c;
        } else {
            latinText += latin;
        }
    }
    return latinText;
}

std::string UrlEncodeUtf8(std::u16string_view text) {
    std::string encoded, form;
    for (const char16_t c : text) {
        if (IsKeptInUrl(c)) {
            encoded.push_back(static_cast<char>(c));
        } else if (c == u' ') {
            encoded.push_back('+');
        } else {
            form.clear();
            AppendUtf8(form, c);  // each unit on its own, as the page's links have it
            for (const char byte : form) {
                encoded += '%';
                AppendHex(encoded, static_cast<unsigned char>(byte), 2);
            }
        }
    }
    return encoded;
}

}  // namespace oradel
