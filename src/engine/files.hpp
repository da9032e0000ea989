// Files by native path: opening for reading, and outputs that replace their
// target only when they are complete.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace oradel {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The path as UTF-8, for messages.
std::string PathText(const std::filesystem::path& path);
// A path from UTF-8 text.
std::filesystem::path PathFromText(const std::string& utf8);

// Opens an existing regular file for binary reading; null when that is not possible.
FileHandle OpenForReading(const std::filesystem::path& path);

// An output written to a temporary file beside its target and moved over the
// target by Commit(). Destroyed without Commit(), it removes the temporary
// file and leaves the target as it was.
class AtomicOutputFile {
  public:
    explicit AtomicOutputFile(std::filesystem::path target);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    std::FILE* File() const { return file_.get(); }
    const std::filesystem::path& Target() const { return target_; }
    // Closes the temporary file and moves it over the target; throws UserError on failure.
    void Commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    FileHandle file_;
    bool committed_ = false;
};

}  // namespace oradel
