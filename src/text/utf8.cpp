#include "text/utf8.hpp"

#include <algorithm>

namespace oradel {
// Completes a sequence left open by the previous piece; returns the rest of
// `bytes`.
std::string_view Utf8Validator::CompletePending(std::string_view bytes) {
    const std::size_t wanted = AnnouncedLength(static_cast<unsigned char>(pending_[0]));
    const std::size_t taken = std::min(wanted - pending_.size(), bytes.size());
    pending_.append(bytes.substr(0, taken));
    if (pending_.size() == wanted) {
        char32_t character = 0;
        wellFormed_ = DecodeUtf8(pending_, 0, character) == wanted;
        sawMultiByte_ = true;
        pending_.clear();
    }
    return bytes.substr(taken);
}

void Utf8Validator::Feed(std::string_view bytes) {
    if (!wellFormed_) return;
    if (!pending_.empty()) bytes = CompletePending(bytes);
    for (std::size_t pos = 0; wellFormed_ && pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {  // ASCII, one byte
            ++pos;
            continue;
        }
        const std::size_t length = AnnouncedLength(static_cast<unsigned char>(bytes[pos]));
        if (length > 1 && bytes.size() - pos < length) {
            pending_.assign(bytes.substr(pos));
            return;
        }
        char32_t character = 0;
        const std::size_t read = DecodeUtf8(bytes, pos, character);
        wellFormed_ = read > 0;
        sawMultiByte_ |= read > 1;
        pos += read;
    }
}

bool IsWellFormedUtf8(std::string_view bytes) {
    Utf8Validator validator;
    validator.Feed(bytes);
    return validator.WellFormed();
}

}  // namespace oradel
