#include "io_floor.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace oradel::bench {
namespace {

constexpr std::size_t kBlockSize = 1 << 16;

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path) {
    throw std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

void WriteAll(int fd, const char* data, std::size_t size, const std::filesystem::path& path) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write", path);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

}  // namespace

void CopyAtIoFloor(const std::filesystem::path& input, const std::filesystem::path& output,
                   std::uint64_t outputBytes) {
    Descriptor in(::open(input.c_str(), O_RDONLY));
    if (in.Get() < 0) Fail("cannot open", input);
    std::filesystem::path temporary = output;
    temporary += ".floor-tmp";
    Descriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (out.Get() < 0) Fail("cannot create", temporary);
    std::vector<char> block(kBlockSize);
    std::size_t filled = 0;
    bool inputLeft = true;
    while (outputBytes > 0 || inputLeft) {
        if (inputLeft) {
            const ssize_t got = ::read(in.Get(), block.data(), block.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) Fail("cannot read", input);
            inputLeft = got > 0;
            if (inputLeft) filled = static_cast<std::size_t>(got);
        }
        if (filled == 0) {  // an empty input: the output is blanks
            std::fill(block.begin(), block.end(), ' ');
            filled = block.size();
        }
        const auto now = static_cast<std::size_t>(std::min<std::uint64_t>(outputBytes, filled));
        WriteAll(out.Get(), block.data(), now, temporary);
        outputBytes -= now;
    }
    if (::close(out.Release()) != 0) Fail("cannot write", temporary);
    if (std::rename(temporary.c_str(), output.c_str()) != 0) Fail("cannot rename", temporary);
}

}  // namespace oradel::bench
