#include "engine/text_input.hpp"

#include <cstring>

#include "engine/errors.hpp"
#include "text/codepage.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

constexpr std::size_t kBlockSize = 1 << 16;
constexpr char kCtrlZ = '\x1A';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The first CR or LF in [from, to), or `to`.
const char* FindLineEnd(const char* from, const char* to) {
    while (from != to && *from != '\r' && *from != '\n') ++from;
    return from;
}

// Up to `size` bytes; fewer only at the end of the file.
std::size_t ReadBlock(std::FILE* file, char* into, std::size_t size) {
    const std::size_t read = std::fread(into, 1, size, file);
    if (read < size && std::ferror(file)) {
        throw UserError(Message(MessageId::ReadError, {ReasonOf(errno)}));
    }
    return read;
}

}  // namespace

TextInput::TextInput(std::FILE* file, std::string displayName)
    : file_(file), displayName_(std::move(displayName)), buffer_(kBlockSize) {}

bool TextInput::Fill() {
    if (begin_ < end_) return true;
    if (ended_) return false;
    begin_ = 0;
    end_ = ReadBlock(file_, buffer_.data(), buffer_.size());
    if (const void* stop = std::memchr(buffer_.data(), kCtrlZ, end_)) {
        end_ = static_cast<const char*>(stop) - buffer_.data();
        ended_ = true;
    } else if (end_ == 0) {
        ended_ = true;
    }
    return begin_ < end_;
}

bool TextInput::AtEnd() {
    return !Fill();
}

void TextInput::NoteLineEnd(LineEnd end) {
    if (lineEnds_.first == LineEnd::None) lineEnds_.first = end;
    if (end != lineEnds_.first && lineEnds_.firstOtherLine == 0) {
        lineEnds_.firstOtherLine = lineNumber_;
    }
}

void TextInput::ReadLine(std::string& line) {
    std::string& target = decodeUtf8_ ? raw_ : line;
    target.clear();
    ++lineNumber_;
    while (begin_ < end_ || Fill()) {
        const char* start = buffer_.data() + begin_;
        const char* limit = buffer_.data() + end_;
        const char* stop = FindLineEnd(start, limit);
        target.append(start, stop);
        begin_ += stop - start;
        if (stop == limit) continue;
        ++begin_;
        LineEnd end = *stop == '\r' ? LineEnd::Cr : LineEnd::Lf;
        if (end == LineEnd::Cr && (begin_ < end_ || Fill()) && buffer_[begin_] == '\n') {
            ++begin_;
            end = LineEnd::CrLf;
        }
        NoteLineEnd(end);
        break;
    }
    if (decodeUtf8_) line = Windows1251FromUtf8(raw_);
}

bool TextInput::ReadChunk(std::string& chunk) {
    chunk.resize(kBlockSize);
    const std::size_t read = ReadBlock(file_, chunk.data(), chunk.size());
    chunk.resize(read);
    return read > 0;
}

bool TextInput::DecodeUtf8WhenDetected() {
    Utf8Validator validator;
    std::string prefix;
    while (Fill()) {
        const std::string_view block(buffer_.data() + begin_, end_ - begin_);
        if (prefix.size() < kByteOrderMark.size()) {
            prefix.append(block.substr(0, kByteOrderMark.size() - prefix.size()));
        }
        validator.Feed(block);
        begin_ = end_;
        if (prefix == kByteOrderMark) break;  // a marked file is UTF-8 whatever follows
        // A Windows-1251 list breaks the form at its first Cyrillic letters;
        // the rest of the file cannot make it UTF-8 again.
        if (validator.Broken() && prefix.size() == kByteOrderMark.size()) break;
    }
    hasMark_ = prefix == kByteOrderMark;
    decodeUtf8_ = hasMark_ || (validator.WellFormed() && validator.SawMultiByte());
    Restart();
    return decodeUtf8_;
}

void TextInput::Restart() {
    if (std::fseek(file_, 0, SEEK_SET) != 0) throw UserError(Message(MessageId::InputNotSeekable));
    std::clearerr(file_);
    begin_ = end_ = 0;
    lineNumber_ = 0;
    ended_ = false;
    lineEnds_ = {};
    if (hasMark_) {
        for (std::size_t i = 0; i < kByteOrderMark.size() && Fill(); ++i) ++begin_;
    }
}

}  // namespace oradel
