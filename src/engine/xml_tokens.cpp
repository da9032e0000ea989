#include "engine/xml_tokens.hpp"

#include <algorithm>
#include <cstring>

#include "engine/errors.hpp"

namespace oradel {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::string_view kCommentStart = "<!--";
constexpr std::string_view kCDataStart = "<![CDATA[";

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimXmlSpace(std::string_view text) {
    while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The length of the run at the start of `text` that ends at a blank or at one of `stops`.
std::size_t RunLength(std::string_view text, std::string_view stops) {
    std::size_t length = 0;
    while (length < text.size() && !IsXmlSpace(text[length]) &&
           stops.find(text[length]) == std::string_view::npos) {
        ++length;
    }
    return length;
}

}  // namespace

void XmlTokenizer::Feed(std::string_view block) {
    buffer_.append(block);
    std::size_t pos = 0;
    while (pos < buffer_.size()) {
        const std::size_t next = Step(pos);
        if (next == pos) break;  // the token at `pos` needs more input
        pos = next;
    }
    Drop(0, pos);
    if (!buffer_.empty()) ShrinkUnfinished();
}

// The buffer holds one unfinished token. A comment, a CDATA section, a
// document type declaration or an instruction other than the XML declaration
// keeps only its opening bytes and what is left to search: CDATA content is
// handed on, the rest dropped. A tag and the declaration are read whole.
void XmlTokenizer::ShrinkUnfinished() {
    const bool readWhole =
        kind_ == Kind::Tag || kind_ == Kind::EndTag || (kind_ == Kind::Instruction && atStart_);
    if (readWhole && buffer_.size() > kMaxMarkupLength) {
        throw UserError(
            Message(MessageId::XmlMarkupTooLong, {fileName_, lineNumber_, kMaxMarkupLength}));
    }
    if (readWhole || kind_ == Kind::Undecided || scanned_ <= opening_) return;
    if (kind_ == Kind::CData) {
        handler_.CData(std::string_view(buffer_).substr(opening_, scanned_ - opening_));
    }
    Drop(opening_, scanned_ - opening_);
    scanned_ = opening_;
}

// Removes bytes from the buffer, counting the lines they end.
void XmlTokenizer::Drop(std::size_t from, std::size_t count) {
    const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(from);
    lineNumber_ += static_cast<std::size_t>(
        std::count(begin, begin + static_cast<std::ptrdiff_t>(count), '\n'));
    buffer_.erase(from, count);
}

void XmlTokenizer::Finish() {
    buffer_.clear();
    kind_ = Kind::Undecided;
}

// Handles the token at `pos`; returns where the next one starts, or `pos`
// while the token is unfinished.
std::size_t XmlTokenizer::Step(std::size_t pos) {
    if (buffer_[pos] != '<') {
        const void* lt = std::memchr(buffer_.data() + pos, '<', buffer_.size() - pos);
        const std::size_t end =
            lt == nullptr ? buffer_.size() : static_cast<const char*>(lt) - buffer_.data();
        handler_.Text(std::string_view(buffer_).substr(pos, end - pos));
        return end;
    }
    if (kind_ == Kind::Undecided && !Classify(std::string_view(buffer_).substr(pos))) return pos;
    const std::size_t end = FindEnd(pos);
    if (end == kNone) return pos;
    Emit(std::string_view(buffer_).substr(pos, end - pos));
    kind_ = Kind::Undecided;
    scanned_ = 0;
    quote_ = 0;
    brackets_ = 0;
    return end;
}

// Tells the kind of markup from its first bytes; false while they cannot tell yet.
bool XmlTokenizer::Classify(std::string_view token) {
    if (token.size() < 2) return false;
    scanned_ = 2;
    if (token[1] == '?') {
        kind_ = Kind::Instruction;
    } else if (token[1] == '/') {
        kind_ = Kind::EndTag;
    } else if (token[1] != '!') {
        kind_ = Kind::Tag;
        scanned_ = 1;
    } else if (token.starts_with(kCommentStart)) {
        kind_ = Kind::Comment;
        scanned_ = kCommentStart.size();
    } else if (token.starts_with(kCDataStart)) {
        kind_ = Kind::CData;
        scanned_ = kCDataStart.size();
    } else if (kCommentStart.starts_with(token) || kCDataStart.starts_with(token)) {
        return false;
    } else {
        kind_ = Kind::Doctype;
    }
    opening_ = scanned_;
    return true;
}

// Where the token at `pos` ends (past its last byte), or kNone while its end
// has not come in. A search goes on where the previous one stopped.
std::size_t XmlTokenizer::FindEnd(std::size_t pos) {
    std::string_view terminator = ">";
    switch (kind_) {
        case Kind::Tag:
            return FindTagEnd(pos);
        case Kind::Doctype:
            return FindDoctypeEnd(pos);
        case Kind::Comment:
            terminator = "-->";
            break;
        case Kind::CData:
            terminator = "]]>";
            break;
        case Kind::Instruction:
            terminator = "?>";
            break;
        case Kind::EndTag:
        case Kind::Undecided:
            break;
    }
    const std::size_t found = buffer_.find(terminator, pos + scanned_);
    if (found != kNone) return found + terminator.size();
    // The terminator may begin in the last bytes and end in the next block.
    const std::size_t searched = buffer_.size() - pos;
    scanned_ = std::max(scanned_, searched - std::min(searched, terminator.size() - 1));
    return kNone;
}

// A tag ends at the first '>' outside a quoted attribute value.
std::size_t XmlTokenizer::FindTagEnd(std::size_t pos) {
    for (std::size_t i = pos + scanned_; i < buffer_.size(); ++i) {
        const char c = buffer_[i];
        if (quote_ != 0) {
            const std::size_t close = buffer_.find(quote_, i);
            if (close == kNone) break;
            quote_ = 0;
            i = close;
        } else if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    scanned_ = buffer_.size() - pos;
    return kNone;
}

// A document type declaration ends at the first '>' outside its internal subset.
std::size_t XmlTokenizer::FindDoctypeEnd(std::size_t pos) {
    for (std::size_t i = pos + scanned_; i < buffer_.size(); ++i) {
        if (buffer_[i] == '[') ++brackets_;
        if (buffer_[i] == ']' && brackets_ > 0) --brackets_;
        if (buffer_[i] == '>' && brackets_ == 0) return i + 1;
    }
    scanned_ = buffer_.size() - pos;
    return kNone;
}

void XmlTokenizer::Emit(std::string_view token) {
    const bool atStart = atStart_;
    atStart_ = false;
    switch (kind_) {
        case Kind::Tag:
            EmitTag(token.substr(1, token.size() - 2));
            break;
        case Kind::EndTag:
            handler_.EndTag(TrimXmlSpace(token.substr(2, token.size() - 3)));
            break;
        case Kind::CData:
            handler_.CData(token.substr(kCDataStart.size(), token.size() - kCDataStart.size() - 3));
            break;
        case Kind::Instruction: {
            const std::string_view inside = token.substr(2, token.size() - 4);
            const std::size_t target = RunLength(inside, "");
            if (!atStart || inside.substr(0, target) != "xml") break;
            ReadAttributes(inside.substr(target));
            handler_.Declaration(attributes_);
            break;
        }
        case Kind::Comment:
        case Kind::Doctype:
        case Kind::Undecided:
            break;
    }
}

void XmlTokenizer::EmitTag(std::string_view inside) {
    const bool empty = !inside.empty() && inside.back() == '/';
    if (empty) inside.remove_suffix(1);
    const std::size_t nameLength = RunLength(inside, "");
    ReadAttributes(inside.substr(nameLength));
    handler_.StartTag(inside.substr(0, nameLength), attributes_, empty);
}

// name="value", name='value', blanks around '=' allowed; an unquoted value
// runs to the next blank.
void XmlTokenizer::ReadAttributes(std::string_view text) {
    attributes_.clear();
    while (!(text = TrimXmlSpace(text)).empty()) {
        XmlAttribute attribute;
        const std::size_t nameLength = std::max<std::size_t>(RunLength(text, "="), 1);
        attribute.name = text.substr(0, nameLength);
        text = TrimXmlSpace(text.substr(nameLength));
        if (!text.empty() && text.front() == '=') {
            text = TrimXmlSpace(text.substr(1));
            const char quote = text.empty() ? 0 : text.front();
            if (quote == '"' || quote == '\'') {
                const std::size_t close = text.find(quote, 1);
                attribute.value = text.substr(1, close == kNone ? kNone : close - 1);
                text = close == kNone ? std::string_view() : text.substr(close + 1);
            } else {
                attribute.value = text.substr(0, RunLength(text, ""));
                text.remove_prefix(attribute.value.size());
            }
        }
        attributes_.push_back(attribute);
    }
}

}  // namespace oradel
