#include "engine/files.hpp"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "engine/errors.hpp"

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
        file_.reset(OpenNative(temporary_, "wbx"));
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
    std::error_code error;
    fs::rename(temporary_, target_, error);
#ifdef _WIN32
    if (error) {
        // Older runtimes refuse to rename over an existing file.
        std::error_code removeError;
        if (fs::remove(target_, removeError)) {
            error.clear();
            fs::rename(temporary_, target_, error);
        }
    }
#endif
    if (error) {
        throw UserError("Cannot create file \"" + PathText(target_) + "\". " + error.message());
    }
    committed_ = true;
}

}  // namespace oradel
