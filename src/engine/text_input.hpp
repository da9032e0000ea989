// Buffered reading of an input file as lines. CR LF, CR and a lone LF each end
// a line; a Ctrl+Z byte ends the input as the end of the file does; reading at
// the end yields an empty line.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace oradel {

enum class LineEnd { None, CrLf, Cr, Lf };

// How the lines read so far end: the kind of the first line end, and the
// number (from 1) of the first line that ends in another way, 0 for none.
struct LineEndUse {
    LineEnd first = LineEnd::None;
    std::size_t firstOtherLine = 0;
};

class TextInput {
  public:
    // Reads `file` (not owned) from its start; `displayName` (UTF-8) names it
    // in error messages.
    explicit TextInput(std::FILE* file, std::string displayName = {});
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;

    // True when nothing is left before the end of the file or a Ctrl+Z.
    bool AtEnd();
    // The next line without its line end; empty at the end of the input.
    void ReadLine(std::string& line);
    // The number of the line ReadLine gave last, from 1.
    std::size_t LineNumber() const { return lineNumber_; }
    const std::string& DisplayName() const { return displayName_; }
    // The next block of raw bytes up to the end of the file; false when none is
    // left. For a reader that starts at the beginning and reads only blocks:
    // line ends are not interpreted, and a Ctrl+Z is an ordinary byte (the
    // Ctrl+Z rule belongs to the lines of a point list).
    bool ReadChunk(std::string& chunk);

    // Decides, before anything is read, whether the file is a UTF-8 text: it
    // starts with a byte-order mark, or it is entirely well-formed UTF-8 with at
    // least one multi-byte sequence. Such a file is then delivered as
    // Windows-1251 lines, without the mark. The file must be seekable.
    // Returns whether it does.
    bool DecodeUtf8WhenDetected();
    // Reads the file again from its start (for a writer that needs two passes).
    void Restart();

    const LineEndUse& LineEnds() const { return lineEnds_; }

  private:
    bool Fill();  // false at the end of the input
    void NoteLineEnd(LineEnd end);

    std::FILE* file_;
    std::string displayName_;
    std::size_t lineNumber_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0;
    bool ended_ = false;  // end of file or Ctrl+Z reached
    bool decodeUtf8_ = false;
    bool hasMark_ = false;  // the file starts with a UTF-8 byte-order mark
    std::string raw_;       // a line's bytes before decoding
    LineEndUse lineEnds_;
};

}  // namespace oradel
