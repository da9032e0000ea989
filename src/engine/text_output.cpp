#include "engine/text_output.hpp"

#include <cerrno>
#include <cstring>

#include "engine/errors.hpp"

namespace oradel {
namespace {

constexpr std::size_t kBlockSize = 1 << 16;

}  // namespace

TextOutput::TextOutput(std::FILE* file, std::string displayName)
    : file_(file), displayName_(std::move(displayName)) {
    buffer_.reserve(kBlockSize);
}

void TextOutput::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBlockSize) Flush();
    if (bytes.size() >= kBlockSize) {
        WriteThrough(bytes);  // a long line goes out as it stands, without a copy
        return;
    }
    buffer_.append(bytes);
}

void TextOutput::WriteLine(std::string_view line) {
    Write(line);
    Write("\r\n");
}

void TextOutput::Flush() {
    if (buffer_.empty()) return;
    const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
    const int error = errno;
    buffer_.clear();  // what failed to go out is not tried again
    if (!written) ThrowWriteError(error);
}

void TextOutput::WriteThrough(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ThrowWriteError(errno);
}

void TextOutput::ThrowWriteError(int error) const {
    throw UserError(Message(MessageId::CannotWriteFile, {displayName_, ReasonOf(error)}));
}

}  // namespace oradel
