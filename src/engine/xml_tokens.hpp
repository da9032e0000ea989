// A small streaming XML tokenizer: it cuts a document fed in blocks into
// tags, text and CDATA and hands them to a handler. Comments, processing
// instructions other than the XML declaration, and document type
// declarations are skipped. It checks no well-formedness; it only holds the
// token it has not finished, so memory grows with the longest tag, comment
// or CDATA section, never with the file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
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
    // The content of a CDATA section.
    virtual void CData(std::string_view text) = 0;
};

class XmlTokenizer {
  public:
    explicit XmlTokenizer(XmlHandler& handler) : handler_(handler) {}

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

    XmlHandler& handler_;
    std::string buffer_;  // the unfinished token at its start
    Kind kind_ = Kind::Undecided;
    std::size_t scanned_ = 0;  // bytes of the unfinished token already searched
    char quote_ = 0;           // the open quote of a tag's attribute value
    int brackets_ = 0;         // open '[' of a document type declaration
    bool atStart_ = true;      // nothing but blanks seen so far
    std::vector<XmlAttribute> attributes_;
};

}  // namespace oradel
