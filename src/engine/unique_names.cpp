#include "engine/unique_names.hpp"

#include <algorithm>

#include "text/strings.hpp"

namespace oradel {
namespace {

// Numbers of up to this many digits; no file holds a billion points.
constexpr std::size_t kMaxNumberWidth = 9;

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::size_t FittingBytes(std::string_view text, std::size_t bytes) {
    return std::min(text.size(), bytes);
}

std::size_t FittingUtf8(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text.size();
    std::size_t end = bytes;
    while (end > 0 && IsUtf8Continuation(text[end])) --end;
    return end;
}

std::string UniqueNames::Cut(std::string_view name, std::size_t bytes) const {
    std::string_view cut = name.substr(0, fit_(name, bytes));
    while (!cut.empty() && IsBlank(cut.back())) cut.remove_suffix(1);
    return std::string(cut);
}

// A number that was tried for a stem is never tried for it again, so all
// calls together try each taken name a bounded number of times.
std::string UniqueNames::Take(std::string_view name) {
    std::string whole = Cut(name, limit_);
    if (taken_.Emplace(whole, true).second) return whole;
    unsigned long lowest = 2, end = 10;  // the numbers of `width` digits
    for (std::size_t width = 1; width <= kMaxNumberWidth && separator_.size() + width < limit_;
         ++width, lowest = end, end *= 10) {
        const std::string stem = Cut(whole, limit_ - separator_.size() - width);
        unsigned long& next = *nextNumber_.Emplace(stem, 0).first;
        for (next = std::max(next, lowest); next < end;) {
            std::string numbered = stem + separator_ + std::to_string(next++);
            if (taken_.Emplace(numbered, true).second) return numbered;
        }
    }
    return whole;  // every number taken: more names than any device holds
}

}  // namespace oradel
