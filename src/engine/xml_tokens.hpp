// A small streaming XML tokenizer: it cuts a document fed in blocks into
// tags, text and CDATA and hands them to a handler. Comments, processing
// instructions other than the XML declaration, and document type
// declarations are skipped. It checks no well-formedness. Memory stays within
// a block and the longest tag: text and CDATA are handed on in pieces, what
// is skipped is dropped as it is searched, and a tag (or the declaration)
// longer than kMaxMarkupLength is refused.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace oradel {

// An attribute as written: the value without its quotes, references not decoded.
struct XmlAttribute {
    std::string_view name;
    std::string_view value;
};

class XmlHandler {
  public:
    virtual ~XmlHandler() = default;
    // `<?xml version="1.0" encoding="..."?>` at the start of the document.
    virtual void Declaration(std::span<const XmlAttribute> attributes) = 0;
    // `<name ...>`, or `<name .../>` with `empty` true (no EndTag follows).
    virtual void StartTag(std::string_view name, std::span<const XmlAttribute> attributes,
                          bool empty) = 0;
    virtual void EndTag(std::string_view name) = 0;
    // Character data as written, references not decoded; a run of text may
    // come in several pieces.
    virtual void Text(std::string_view raw) = 0;
    // The content of a CDATA section; a long one may come in several pieces.
    virtual void CData(std::string_view text) = 0;
};

// The longest tag that is read; no real file comes near it.
inline constexpr std::size_t kMaxMarkupLength = 1'000'000;

class XmlTokenizer {
  public:
    // `fileName` (UTF-8) names the document in the error of a tag too long.
    XmlTokenizer(XmlHandler& handler, std::string fileName)
        : handler_(handler), fileName_(std::move(fileName)) {}

    // Throws UserError when a tag grows past kMaxMarkupLength.
    void Feed(std::string_view block);
    // The end of the document: an unfinished markup token is dropped.
    void Finish();

  private:
    enum class Kind { Undecided, Tag, EndTag, Comment, CData, Instruction, Doctype };

    std::size_t Step(std::size_t pos);
    bool Classify(std::string_view token);
    std::size_t FindEnd(std::size_t pos);
    std::size_t FindTagEnd(std::size_t pos);
    std::size_t FindDoctypeEnd(std::size_t pos);
    void Emit(std::string_view token);
    void EmitTag(std::string_view inside);
    void ReadAttributes(std::string_view text);
    void ShrinkUnfinished();
    void Drop(std::size_t from, std::size_t count);

    XmlHandler& handler_;
    std::string fileName_;
    std::string buffer_;          // the unfinished token at its start
    std::size_t lineNumber_ = 1;  // of the buffer's first byte
    Kind kind_ = Kind::Undecided;
    std::size_t opening_ = 0;  // the length of the bytes that open the token ("<!--")
    std::size_t scanned_ = 0;  // bytes of the unfinished token already searched
    char quote_ = 0;           // the open quote of a tag's attribute value
    int brackets_ = 0;         // open '[' of a document type declaration
    bool atStart_ = true;      // nothing but blanks seen so far
    std::vector<XmlAttribute> attributes_;
};

}  // namespace oradel
