// Files by native path: opening for reading, temporary files that an
// interrupted run removes, and outputs that replace their target only when
// they are complete, keeping the target's permissions and links.
#pragma once

#include <cstddef>
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

// Opens an existing regular file for binary reading. Throws UserError:
// "Нет файла" when nothing of that name exists; `Cannot open file "FILE". Not
// a regular file` for a folder, FIFO, socket or device (never waiting on a
// FIFO); `Cannot open file "FILE". REASON` when it cannot be read.
FileHandle OpenInputFile(const std::filesystem::path& path);

// Up to `size` bytes from the start of `file`, which is then read from its
// start again.
std::string ReadHead(std::FILE* file, std::size_t size);

// True when nothing, not even a dangling symbolic link, has that name.
bool NameIsFree(const std::filesystem::path& path);

// The name under which a replaced `file` is kept: "X.txt.bak", or when that
// is taken "X.txt.2.bak", "X.txt.3.bak", ..., beside the file that writing
// `file` changes (its final link target).
std::filesystem::path BackupNameFor(const std::filesystem::path& file);

// True when both names lead to one file on disk: the same path, or one file
// reached through a symbolic or hard link. False when either does not exist.
bool IsSameFile(const std::filesystem::path& first, const std::filesystem::path& second);

// The file that writing to `path` changes: `path` itself, or the final target
// of the chain of symbolic links that starts there (which may not exist yet).
std::filesystem::path FinalLinkTarget(const std::filesystem::path& path);

// The folder in which the temporary files for writing `target` are made:
// that of the file that writing it changes (FinalLinkTarget).
std::filesystem::path TemporaryFolderFor(const std::filesystem::path& target);

// A new file with a short unique name in `folder`, open for writing and
// reading, removed when destroyed unless Release()d. While it exists, an
// interrupted run removes it (RemoveTemporaryFilesNow). When `model` names an
// existing regular file, the new one has its permission bits (and, where the
// process may set them, its owner and group) from its first byte on: a
// private file's next content is never readable by others. Throws UserError
// `Cannot create file "shownName". REASON` when it cannot be made.
class TemporaryFile {
  public:
    TemporaryFile(const std::filesystem::path& folder, const std::string& shownName,
                  const std::filesystem::path& model = {});
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::FILE* File() const { return file_.get(); }
    const std::filesystem::path& Path() const { return path_; }
    // Closes the file; throws UserError naming `shownName` when what was
    // written cannot be stored.
    void Close(const std::string& shownName);
    // The file is no longer removed: it has been moved into place.
    void Release();

  private:
    std::filesystem::path path_;
    FileHandle file_;
    int slot_ = -1;  // in the table of live temporary files; -1 for none
    bool released_ = false;
};

// An output written to a temporary file beside its target and moved over the
// target by Commit(). Destroyed without Commit(), it removes the temporary
// file and leaves the target as it was. A symbolic link is written through:
// its final target is replaced and the link stays. A replaced file keeps its
// permission bits (and, where the process may set them, its owner and group;
// on Windows its attributes and access rights).
//
// Only a regular file or a new name is replaced. The constructor, and Commit()
// once more, throw UserError `Cannot create file "X". Not a regular file` for
// a FIFO, socket or device (or a link to one), the system's reason for a
// folder or a link loop, and `Cannot create file "X". It is another user's
// link in a shared folder` for a link that another user placed in a sticky
// folder everyone may write to (as /tmp).
class AtomicOutputFile {
  public:
    explicit AtomicOutputFile(std::filesystem::path target);
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    std::FILE* File() const { return temporary_.File(); }
    // Closes the temporary file and moves it over the target; throws UserError on failure.
    void Commit();
    // True when the target exists and holds exactly the bytes written so far.
    bool SameAsTarget();
    // Commits, first keeping the target itself as `backup` (a free name from
    // BackupNameFor): linked or moved there, it keeps its bytes, permissions
    // and times.
    void CommitKeepingOld(const std::filesystem::path& backup);

  private:
    std::filesystem::path target_;     // as named, for messages
    std::filesystem::path finalPath_;  // the file replaced: the target, or its link's target
    TemporaryFile temporary_;
};

// Removes every temporary file that is still open or unfinished; on Windows
// each is closed first. Safe to call from a signal handler or a console
// control handler: it only reads a table filled in advance.
void RemoveTemporaryFilesNow() noexcept;

}  // namespace oradel
