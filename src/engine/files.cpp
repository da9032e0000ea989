#include "engine/files.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "engine/errors.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace oradel {
namespace fs = std::filesystem;
namespace {

std::FILE* OpenNative(const fs::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// Creates a new file for binary writing; null, with errno set, when the name
// is taken or the file cannot be made.
std::FILE* CreateNewFile(const fs::path& path) {
#ifdef _WIN32
    // The Windows runtime that MinGW links by default (msvcrt.dll) does not
    // know fopen's "x" flag, so exclusive creation goes through _wopen.
    const int descriptor =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) return nullptr;
    std::FILE* file = _wfdopen(descriptor, L"wb");
    if (file == nullptr) _close(descriptor);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A name for the temporary file that no other job of this or another process picks.
fs::path TemporaryNameFor(const fs::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto unique =
        std::to_string(stamp) + "-" + std::to_string(counter++) + "-" + std::to_string(attempt);
    fs::path name = target;
    name += fs::path(".oradel-" + unique + ".tmp");
    return name;
}

// A read-only target is refused rather than replaced: the user protected it,
// and Windows would refuse with a bare "access denied" anyway.
bool IsReadOnlyFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Moves the finished temporary file over the target in one step (replacing an
// existing file on every platform), so that a failure leaves the old target
// as it was. Throws UserError on failure.
void MoveOverTarget(const fs::path& temporary, const fs::path& target) {
    if (IsReadOnlyFile(target)) {
        throw UserError("Cannot create file \"" + PathText(target) + "\". The file is read-only.");
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        throw UserError("Cannot create file \"" + PathText(target) + "\". " +
                        error.default_error_condition().message());
    }
}

}  // namespace

std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path PathFromText(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

FileHandle OpenForReading(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return nullptr;
    return FileHandle(OpenNative(path, "rb"));
}

AtomicOutputFile::AtomicOutputFile(fs::path target) : target_(std::move(target)) {
    constexpr unsigned kAttempts = 100;
    for (unsigned attempt = 0; attempt < kAttempts && !file_; ++attempt) {
        temporary_ = TemporaryNameFor(target_, attempt);
        file_.reset(CreateNewFile(temporary_));
        if (!file_ && errno != EEXIST) break;
    }
    if (!file_) {
        throw UserError("Cannot create file \"" + PathText(target_) + "\". " +
                        std::strerror(errno));
    }
}

AtomicOutputFile::~AtomicOutputFile() {
    if (committed_) return;
    file_.reset();
    std::error_code ignored;
    fs::remove(temporary_, ignored);
}

void AtomicOutputFile::Commit() {
    const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
    const int flushError = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) {
        throw UserError("Cannot write to file \"" + PathText(target_) + "\". " +
                        std::strerror(flushed ? errno : flushError));
    }
    MoveOverTarget(temporary_, target_);
    committed_ = true;
}

}  // namespace oradel
