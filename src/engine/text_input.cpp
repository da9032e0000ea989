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

}  // namespace

TextInput::TextInput(std::FILE* file) : file_(file), buffer_(kBlockSize) {}

bool TextInput::Fill() {
    if (begin_ < end_) return true;
    if (ended_) return false;
    begin_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (end_ < buffer_.size() && std::ferror(file_)) {
        throw UserError("Read error: " + std::string(std::strerror(errno)));
    }
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

void TextInput::ReadLine(std::string& line) {
    std::string& target = decodeUtf8_ ? raw_ : line;
    target.clear();
    while (Fill()) {
        const char* start = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const char* stop = start;
        const char* limit = start + available;
        while (stop != limit && *stop != '\r' && *stop != '\n') ++stop;
        target.append(start, stop);
        begin_ += stop - start;
        if (stop == limit) continue;
        ++begin_;
        if (*stop == '\r' && Fill() && buffer_[begin_] == '\n') ++begin_;
        break;
    }
    if (decodeUtf8_) line = Cp1251FromUtf8(raw_);
}

bool TextInput::ReadChunk(std::string& chunk) {
    if (!Fill()) return false;
    chunk.assign(buffer_.data() + begin_, end_ - begin_);
    begin_ = end_;
    return true;
}

void TextInput::DecodeUtf8WhenDetected() {
    std::fpos_t start;
    const bool seekable = std::fgetpos(file_, &start) == 0;
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
    }
    const bool hasMark = prefix == kByteOrderMark;
    if (!seekable || std::fsetpos(file_, &start) != 0) {
        throw UserError("Read error: the input cannot be read twice");
    }
    std::clearerr(file_);
    begin_ = end_ = 0;
    ended_ = false;
    decodeUtf8_ = hasMark || (validator.WellFormed() && validator.SawMultiByte());
    if (hasMark) {
        for (std::size_t i = 0; i < kByteOrderMark.size() && Fill(); ++i) ++begin_;
    }
}

}  // namespace oradel
