#include "text/utf8.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace oradel {
namespace {

// The first byte past the ASCII run that starts at `pos`.
std::size_t SkipAscii(std::string_view bytes, std::size_t pos) {
    while (bytes.size() - pos >= 8 && IsAsciiWord(bytes.data() + pos)) pos += 8;
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) ++pos;
    return pos;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t character) {
    const auto byte = [](char32_t value) { return static_cast<char>(value); };
    if (character < 0x80) {
        out.push_back(byte(character));
    } else if (character < 0x800) {
        out.push_back(byte(0xC0 | (character >> 6)));
        out.push_back(byte(0x80 | (character & 0x3F)));
    } else if (character < 0x10000) {
        out.push_back(byte(0xE0 | (character >> 12)));
        out.push_back(byte(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(byte(0x80 | (character & 0x3F)));
    } else {
        out.push_back(byte(0xF0 | (character >> 18)));
        out.push_back(byte(0x80 | ((character >> 12) & 0x3F)));
        out.push_back(byte(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(byte(0x80 | (character & 0x3F)));
    }
}

// Completes a sequence left open by the previous piece; returns the rest of
// `bytes`.
std::string_view Utf8Validator::CompletePending(std::string_view bytes) {
    const std::size_t wanted = AnnouncedLength(static_cast<unsigned char>(pending_[0]));
    const std::size_t taken = std::min(wanted - pending_.size(), bytes.size());
    pending_.append(bytes.substr(0, taken));
    if (pending_.size() == wanted) {
        char32_t character = 0;
        wellFormed_ = DecodeUtf8(pending_, 0, character) == wanted;
        pending_.clear();
    }
    return bytes.substr(taken);
}

void Utf8Validator::Feed(std::string_view bytes) {
    if (!wellFormed_) return;
    if (!pending_.empty()) bytes = CompletePending(bytes);
    std::size_t pos = 0;
    while (wellFormed_ && (pos = SkipAscii(bytes, pos)) < bytes.size()) {
        sawMultiByte_ = true;
        const std::size_t length = AnnouncedLength(static_cast<unsigned char>(bytes[pos]));
        char32_t character = 0;
        if (length > 1 && bytes.size() - pos < length) {
            pending_.assign(bytes.substr(pos));
            return;
        }
        const std::size_t read = DecodeUtf8(bytes, pos, character);
        if (read == 0) wellFormed_ = false;
        pos += read;
    }
}

bool IsWellFormedUtf8(std::string_view bytes) {
    Utf8Validator validator;
    validator.Feed(bytes);
    return validator.WellFormed();
}

}  // namespace oradel
