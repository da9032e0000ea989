#include "engine/files.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/errors.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

// Only the two headers that declare ReplaceFileW, not the whole Windows API;
// winbase.h needs the types of windef.h first.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windef.h>
// (kept apart so that the order stays)
#include <winbase.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace oradel {
namespace fs = std::filesystem;
namespace {

using NativeChar = fs::path::value_type;

// ---------------------------------------------------------------------------
// The live temporary files, in a table filled before each file is created, so
// that a signal handler can remove them without allocating or locking.

constexpr int kFree = 0, kClaimed = 1, kLive = 2, kRemoving = 3;
constexpr std::size_t kTemporarySlots = 64;
constexpr std::size_t kLongestTemporaryPath = 4096;

struct TemporarySlot {
    std::atomic<int> state{kFree};
    std::atomic<int> descriptor{-1};
    std::array<NativeChar, kLongestTemporaryPath> path{};
};

std::array<TemporarySlot, kTemporarySlots> temporarySlots;

// A slot holding `path`, or -1 when the table is full or the path too long
// (the file then works as usual but an interrupted run cannot remove it).
int RegisterTemporary(const fs::path& path) {
    const auto& native = path.native();
    if (native.size() >= kLongestTemporaryPath) return -1;
    for (std::size_t index = 0; index < temporarySlots.size(); ++index) {
        TemporarySlot& slot = temporarySlots[index];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kClaimed)) continue;
        std::copy(native.begin(), native.end(), slot.path.begin());
        slot.path[native.size()] = NativeChar();
        slot.descriptor = -1;
        slot.state = kLive;
        return static_cast<int>(index);
    }
    return -1;
}

// Gives the slot back. When an interruption is removing the file on another
// thread (Windows runs console handlers on a thread of their own), the
// process is ending: this thread waits for that.
void UnregisterTemporary(int index) {
    if (index < 0) return;
    TemporarySlot& slot = temporarySlots[static_cast<std::size_t>(index)];
    slot.descriptor = -1;
    [[maybe_unused]] const int previous = slot.state.exchange(kFree);
#ifdef _WIN32
    if (previous == kRemoving) {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
#endif
}

// The file's descriptor is no longer to be closed by an interruption.
void ForgetDescriptor(int index) {
    if (index >= 0) temporarySlots[static_cast<std::size_t>(index)].descriptor = -1;
}

// ---------------------------------------------------------------------------
// Platform pieces.

// Opens a regular file for binary reading; null, with errno set, when it
// cannot be opened, and null with `notRegular` set when it is no regular file.
// On POSIX systems the file is opened without waiting and then examined, so
// that a FIFO put in its place after a check cannot make the program wait.
std::FILE* OpenRegularFile(const fs::path& path, bool& notRegular) {
    notRegular = false;
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status {};
    notRegular = fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode);
    const int flags = fcntl(descriptor, F_GETFL);
    std::FILE* file = nullptr;
    if (!notRegular && flags >= 0 && fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0) {
        file = fdopen(descriptor, "rb");
    }
    if (file == nullptr) close(descriptor);
    return file;
#endif
}

// The permission bits that a temporary file for `model` is created with:
// the owner's bits of an existing regular file, whose group and others bits
// it gets (KeepPermissionsOf) before a byte is written, so that no one reads
// more of the new content than the old file let them read; for a new file,
// those that the user's settings give every new file.
unsigned StartingPermissions([[maybe_unused]] const fs::path& model) {
#ifndef _WIN32
    struct stat old {};
    if (!model.empty() && stat(model.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        return old.st_mode & S_IRWXU;
    }
#endif
    return 0666;
}

// Creates a new file for binary writing and reading with `permissions` (as
// the user's settings narrow them); null, with errno set, when the name is
// taken or the file cannot be made.
std::FILE* CreateNewFile(const fs::path& path, [[maybe_unused]] unsigned permissions) {
#ifdef _WIN32
    // The Windows runtime that MinGW links by default (msvcrt.dll) does not
    // know fopen's "x" flag, so exclusive creation goes through _wopen.
    const int descriptor =
        _wopen(path.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) return nullptr;
    std::FILE* file = _wfdopen(descriptor, L"w+b");
    if (file == nullptr) _close(descriptor);
#else
    const int descriptor =
        open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(permissions));
    if (descriptor < 0) return nullptr;
    std::FILE* file = fdopen(descriptor, "w+b");
    if (file == nullptr) close(descriptor);
#endif
    return file;
}

void RemoveNative(const NativeChar* path) noexcept {
#ifdef _WIN32
    _wremove(path);
#else
    unlink(path);
#endif
}

int DescriptorOf(std::FILE* file) {
#ifdef _WIN32
    return _fileno(file);
#else
    return fileno(file);
#endif
}

// Gives the finished temporary file the permission bits, owner and group of
// the file it replaces. The owner and group are kept only where the process
// may set them; otherwise the new file is the user's own.
void KeepPermissionsOf(const fs::path& replaced, [[maybe_unused]] std::FILE* file) {
#ifndef _WIN32
    struct stat old {};
    if (stat(replaced.c_str(), &old) != 0) return;
    const int descriptor = DescriptorOf(file);
    if (fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        // Not permitted: the file keeps the user's own owner and group.
    }
    fchmod(descriptor, old.st_mode & 07777);
#else
    (void)replaced;  // ReplaceFileW keeps the attributes and access rights
#endif
}

#ifndef _WIN32
// Keeps `target` as `backup`: a second link to the same file where the file
// system has links, else the file itself moved there. The error when that fails.
std::error_code KeepAsBackup(const fs::path& target, const fs::path& backup, bool& moved) {
    moved = false;
    if (link(target.c_str(), backup.c_str()) == 0) return {};
    if (errno == EEXIST || !NameIsFree(backup)) return std::make_error_code(std::errc::file_exists);
    std::error_code error;
    fs::rename(target, backup, error);
    moved = !error;
    return error;
}
#endif

// Moves `replacement` over an existing `target`, keeping the target as
// `backup` unless that is empty; the error when that fails (the target is
// then as it was).
std::error_code ReplaceExisting(const fs::path& replacement, const fs::path& target,
                                const fs::path& backup) {
    std::error_code error;
#ifdef _WIN32
    // Unlike a rename, this keeps the target's attributes and access rights.
    // The attributes are set once more for Windows versions (and Wine) whose
    // ReplaceFileW does not carry them over.
    // It is given full paths: with a name relative to the current folder
    // (`s.wpt` for the input `s.txt`) Wine's fails with "Not a directory".
    const auto fullPath = [&error](const fs::path& path) {
        return path.empty() || error ? path : fs::absolute(path, error);
    };
    const fs::path full = fullPath(target), from = fullPath(replacement), kept = fullPath(backup);
    if (error) return error;
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (!ReplaceFileW(full.c_str(), from.c_str(), kept.empty() ? nullptr : kept.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        error.assign(static_cast<int>(GetLastError()), std::system_category());
    } else if (attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(full.c_str(), attributes);
    }
#else
    bool moved = false;
    if (!backup.empty()) error = KeepAsBackup(target, backup, moved);
    if (!error) fs::rename(replacement, target, error);
    if (error && moved) {
        std::error_code ignored;
        fs::rename(backup, target, ignored);
    }
#endif
    return error;
}

// ---------------------------------------------------------------------------

// A short name that no other file of this or another process picks: the
// length of the output's own name does not matter.
fs::path TemporaryNameIn(const fs::path& folder) {
    static std::atomic<std::uint64_t> counter{0};
    static const std::uint64_t seed =
        (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t value = seed + 0x9E3779B97F4A7C15ull * ++counter;  // splitmix64
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    value ^= value >> 31;
    constexpr std::string_view kDigits = "0123456789abcdefghijklmnopqrstuv";
    std::string name = ".oradel-";
    for (int i = 0; i < 12; ++i, value >>= 5) name += kDigits[value & 31];
    return folder / (name + ".tmp");
}

fs::path FolderOf(const fs::path& file) {
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// Follows the chain of symbolic links that starts at `path`, calling
// `eachLink` with every link on it until that returns false; the name the
// chain ends at (which may not exist yet).
template <typename EachLink>
fs::path FollowLinks(const fs::path& path, EachLink eachLink) {
    constexpr int kMostLinks = 40;  // as the systems' own limit on link chains
    fs::path current = path;
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)) || !eachLink(current)) break;
        const fs::path next = fs::read_symlink(current, error);
        if (error) break;
        current = next.is_absolute() ? next : FolderOf(current) / next;
    }
    return current;
}

// True when `link` is another user's symbolic link in a sticky folder that
// everyone may write to (as /tmp): whoever planted it there would choose the
// file that the output replaces. Linux's fs.protected_symlinks refuses to
// follow such a link in the same way; the owner of the folder and the
// running user may place links there.
bool IsPlantedLink([[maybe_unused]] const fs::path& link) {
#ifdef _WIN32
    return false;
#else
    struct stat linkStatus {};
    struct stat folderStatus {};
    if (lstat(link.c_str(), &linkStatus) != 0 || stat(FolderOf(link).c_str(), &folderStatus) != 0) {
        return false;
    }
    const bool shared = (folderStatus.st_mode & S_ISVTX) && (folderStatus.st_mode & S_IWOTH);
    return shared && linkStatus.st_uid != geteuid() && linkStatus.st_uid != folderStatus.st_uid;
#endif
}

// Throws UserError when what the output's name `target` leads to may not be
// replaced: a planted link, a link loop, a folder, or a file that is not a
// regular one (a FIFO, socket or device). A name that leads nowhere yet is
// a new file.
void CheckReplaceable(const fs::path& target, const std::string& shownName) {
    bool planted = false;
    FollowLinks(target, [&](const fs::path& link) { return !(planted = IsPlantedLink(link)); });
    if (planted) throw UserError(Message(MessageId::CannotCreatePlantedLink, {shownName}));
    std::error_code error;
    const fs::file_type type = fs::status(target, error).type();
    if (type == fs::file_type::not_found || type == fs::file_type::regular) return;
    if (type == fs::file_type::directory) error = std::make_error_code(std::errc::is_a_directory);
    if (error) throw UserError(Message(MessageId::CannotCreateFile, {shownName, ReasonOf(error)}));
    throw UserError(Message(MessageId::CannotCreateNotRegular, {shownName}));
}

// A read-only target is refused rather than replaced: the user protected it,
// and Windows would refuse with a bare "access denied" anyway.
bool IsReadOnlyFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Moves the finished temporary file over the target in one step, so that a
// failure leaves the old target as it was. Throws UserError on failure.
void MoveOverTarget(const fs::path& temporary, const fs::path& target, const std::string& shownName,
                    const fs::path& backup = {}) {
    CheckReplaceable(target, shownName);
    if (IsReadOnlyFile(target)) {
        throw UserError(Message(MessageId::CannotCreateReadOnly, {shownName}));
    }
    std::error_code error;
    if (fs::exists(target, error)) {
        error = ReplaceExisting(temporary, target, backup);
    } else {
        fs::rename(temporary, target, error);
    }
    if (error) {
        throw UserError(Message(MessageId::CannotCreateFile, {shownName, ReasonOf(error)}));
    }
}

// The file that writing `target` replaces, once CheckReplaceable allows it.
fs::path ReplaceableTarget(const fs::path& target) {
    CheckReplaceable(target, PathText(target));
    return FinalLinkTarget(target);
}

}  // namespace

std::string PathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path PathFromText(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

FileHandle OpenInputFile(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool missing = error == std::errc::no_such_file_or_directory ||
                         error == std::errc::not_a_directory ||
                         status.type() == fs::file_type::not_found;
    if (missing) throw UserError(Message(MessageId::NoFile, {PathText(path)}));
    if (error) {
        throw UserError(Message(MessageId::CannotOpenFile, {PathText(path), ReasonOf(error)}));
    }
    bool notRegular = !fs::is_regular_file(status);
    FileHandle file(notRegular ? nullptr : OpenRegularFile(path, notRegular));
    if (notRegular) throw UserError(Message(MessageId::NotARegularInput, {PathText(path)}));
    if (!file) {
        throw UserError(Message(MessageId::CannotOpenFile, {PathText(path), ReasonOf(errno)}));
    }
    return file;
}

std::string ReadHead(std::FILE* file, std::size_t size) {
    std::string head(size, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file));
    if (std::ferror(file) || std::fseek(file, 0, SEEK_SET) != 0) {
        throw UserError(Message(MessageId::ReadError, {ReasonOf(errno)}));
    }
    return head;
}

bool NameIsFree(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() == fs::file_type::not_found;
}

fs::path BackupNameFor(const fs::path& file) {
    const fs::path kept = FinalLinkTarget(file);
    fs::path backup = PathFromText(PathText(kept) + ".bak");
    for (int number = 2; !NameIsFree(backup); ++number) {
        backup = PathFromText(PathText(kept) + "." + std::to_string(number) + ".bak");
    }
    return backup;
}

bool IsSameFile(const fs::path& first, const fs::path& second) {
    std::error_code error;
    const bool same = fs::equivalent(first, second, error);
    return same && !error;
}

fs::path FinalLinkTarget(const fs::path& path) {
    return FollowLinks(path, [](const fs::path&) { return true; });
}

fs::path TemporaryFolderFor(const fs::path& target) {
    return FolderOf(FinalLinkTarget(target));
}

TemporaryFile::TemporaryFile(const fs::path& folder, const std::string& shownName,
                             const fs::path& model) {
    constexpr unsigned kAttempts = 100;
    const unsigned permissions = StartingPermissions(model);
    int error = 0;
    for (unsigned attempt = 0; attempt < kAttempts && !file_; ++attempt) {
        path_ = TemporaryNameIn(folder);
        slot_ = RegisterTemporary(path_);  // before the file exists, so no moment is missed
        file_.reset(CreateNewFile(path_, permissions));
        error = errno;
        if (file_) break;
        UnregisterTemporary(slot_);
        slot_ = -1;
        if (error != EEXIST) break;
    }
    if (!file_) {
        throw UserError(Message(MessageId::CannotCreateFile, {shownName, ReasonOf(error)}));
    }
    if (slot_ >= 0) {
        temporarySlots[static_cast<std::size_t>(slot_)].descriptor = DescriptorOf(file_.get());
    }
    if (!model.empty()) KeepPermissionsOf(model, file_.get());
}

TemporaryFile::~TemporaryFile() {
    ForgetDescriptor(slot_);
    file_.reset();
    if (released_) return;
    std::error_code ignored;
    fs::remove(path_, ignored);
    UnregisterTemporary(slot_);
}

void TemporaryFile::Close(const std::string& shownName) {
    ForgetDescriptor(slot_);
    const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
    const int flushError = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!flushed || !closed) {
        throw UserError(Message(MessageId::CannotWriteFile,
                                {shownName, ReasonOf(flushed ? errno : flushError)}));
    }
}

void TemporaryFile::Release() {
    UnregisterTemporary(slot_);
    released_ = true;
}

AtomicOutputFile::AtomicOutputFile(fs::path target)
    : target_(std::move(target)),
      finalPath_(ReplaceableTarget(target_)),
      temporary_(FolderOf(finalPath_), PathText(target_), finalPath_) {}

void AtomicOutputFile::Commit() {
    CommitKeepingOld({});
}

bool AtomicOutputFile::SameAsTarget() {
    std::FILE* written = temporary_.File();
    if (std::fflush(written) != 0 || std::fseek(written, 0, SEEK_SET) != 0) return false;
    bool same = false;
    try {
        const FileHandle target = OpenInputFile(finalPath_);
        std::vector<char> ours(1 << 16), theirs(1 << 16);
        for (;;) {
            const std::size_t count = std::fread(ours.data(), 1, ours.size(), written);
            const std::size_t counted = std::fread(theirs.data(), 1, theirs.size(), target.get());
            same =
                count == counted && std::equal(ours.begin(), ours.begin() + count, theirs.begin());
            if (!same || count == 0) break;
        }
    } catch (const UserError&) {
        same = false;  // no target, or one that cannot be read
    }
    std::fseek(written, 0, SEEK_END);
    return same;
}

void AtomicOutputFile::CommitKeepingOld(const fs::path& backup) {
    KeepPermissionsOf(finalPath_, temporary_.File());
    temporary_.Close(PathText(target_));
    MoveOverTarget(temporary_.Path(), finalPath_, PathText(target_), backup);
    temporary_.Release();
}

void RemoveTemporaryFilesNow() noexcept {
    for (TemporarySlot& slot : temporarySlots) {
        int expected = kLive;
        if (!slot.state.compare_exchange_strong(expected, kRemoving)) continue;
#ifdef _WIN32
        // An open file cannot be deleted on Windows.
        const int descriptor = slot.descriptor.exchange(-1);
        if (descriptor >= 0) _close(descriptor);
#endif
        RemoveNative(slot.path.data());
    }
}

}  // namespace oradel
