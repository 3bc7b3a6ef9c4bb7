#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

namespace {

constexpr std::string_view kTemporaryPrefix = ".tellavin-";
// After the prefix, six of these, as mkstemp makes them.
constexpr std::string_view kTemporaryLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTemporaryRandomLength = 6;

WriteResult Failure(const std::string& path, unsigned long error) {
    return {false, "Cannot write \"" + path + "\": " + std::strerror(static_cast<int>(error))};
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path names: a symbolic link is followed, so that replacing
// the file keeps the link (a bookmark file kept in a synchronised folder,
// say) pointing at the new content.
std::string ResolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path; // a dangling link is replaced by the file
    }
    std::string target = resolved;
    std::free(resolved);
    return target;
}

// Gives the new file the old one's owner and group, so that a file replaced
// by another user (root, say) stays the owner's. Only a privileged process
// may give a file away; for anyone else the file keeps the writer as owner.
bool KeepOwner(int fd, const struct stat& existing) {
    return ::fchown(fd, existing.st_uid, existing.st_gid) == 0 || errno == EPERM;
}

// An open file without a name in folder, which vanishes with the process
// however it ends until it is linked in; -1 with errno when the file system
// (or the system) cannot make one, and when /proc, through which it is
// linked, is not there.
int OpenUnnamed(const std::string& folder) {
#ifdef O_TMPFILE
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    struct stat proc {};
    if (::lstat(("/proc/self/fd/" + std::to_string(fd)).c_str(), &proc) != 0) {
        ::close(fd);
        errno = EOPNOTSUPP;
        return -1;
    }
    return fd;
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

// A temporary name in folder that no other write of this process takes:
// the process number and a count, spread over the six letters and digits.
// Another process may have left the name behind; the caller tries the next.
std::string TemporaryName(const std::string& folder) {
    static std::atomic<std::uint64_t> count{0};
    std::uint64_t x = (static_cast<std::uint64_t>(::getpid()) << 32) + count++;
    x ^= x >> 30; // spread the numbers, so that names of one process differ early
    x *= 0xBF58476D1CE4E5B9u;
    x ^= x >> 27;
    auto name = folder + "/" + std::string(kTemporaryPrefix);
    for (std::size_t i = 0; i < kTemporaryRandomLength; ++i, x /= kTemporaryLetters.size()) {
        name += kTemporaryLetters[x % kTemporaryLetters.size()];
    }
    return name;
}

// Gives the unnamed file a temporary name in folder (a link needs a name
// nothing has yet); the rename then replaces the target in one step.
// Returns the name, or nothing with errno.
std::optional<std::string> LinkUnnamed(int fd, const std::string& folder) {
    const auto from = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto name = TemporaryName(folder);
        if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Flushes the folder's entries, so that the renamed file is found under
// the target's name after a crash. The new content is in place by then
// either way, so a folder that cannot be flushed is no failure of the
// write.
void FlushFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

namespace detail {

bool IsTemporaryFileName(std::string_view name) {
    return name.size() == kTemporaryPrefix.size() + kTemporaryRandomLength &&
           name.starts_with(kTemporaryPrefix) &&
           name.find_first_not_of(kTemporaryLetters, kTemporaryPrefix.size()) ==
               std::string_view::npos;
}

} // namespace detail

AtomicFileWriter::AtomicFileWriter(const std::string& path, bool flushToDisk, bool followLinks)
    : path_(path), flushToDisk_(flushToDisk) {
    Open(followLinks);
}

void AtomicFileWriter::CloseAndRemoveTemporary() {
    if (file_ >= 0) {
        ::close(static_cast<int>(file_));
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
    }
}

// Makes the new file beside the target, with the target's permissions and
// owner, or those a new file gets: without a name where the system can
// (nothing is left of it when the process is killed), otherwise as a
// hidden temporary file. The rename replaces whatever has the name, a
// symbolic link included, and never writes where one points.
void AtomicFileWriter::Open(bool followLinks) {
    struct stat link {};
    if (!followLinks && ::lstat(path_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        refusedLink_ = true;
        return;
    }
    target_ = followLinks ? ResolvedTarget(path_) : path_;
    struct stat existing {};
    bool hadTarget = ::stat(target_.c_str(), &existing) == 0;
    if (hadTarget && S_ISDIR(existing.st_mode)) {
        Fail(EISDIR);
        return;
    }
    const auto folder = FolderOf(target_);
    if (flushToDisk_) {
        RemoveStaleTemporaryFiles(folder);
    }
    // Small files written many at a time without a flush (a Favorites
    // folder's shortcuts) keep the named file, which costs a third less: a
    // killed writer leaves at most one small file of them, and the next
    // export into that folder removes it.
    int fd = -1;
    errno = EOPNOTSUPP;
    if (flushToDisk_) {
        fd = OpenUnnamed(folder);
    }
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        Fail(errno);
        return;
    }
    if (fd < 0) {
        temp_ = folder + "/" + std::string(kTemporaryPrefix) + "XXXXXX";
        fd = ::mkstemp(temp_.data());
    }
    file_ = fd;
    if (fd < 0) {
        temp_.clear();
        Fail(errno);
        return;
    }
    mode_t mode = hadTarget ? (existing.st_mode & 07777) : 0666;
    if (!hadTarget) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (!((!hadTarget || KeepOwner(fd, existing)) && ::fchmod(fd, mode) == 0)) {
        Fail(errno);
    }
}

unsigned long AtomicFileWriter::WriteToFile(std::string_view bytes) {
    int fd = static_cast<int>(file_);
    if (!WriteAll(fd, bytes)) {
        return static_cast<unsigned long>(errno);
    }
#ifdef __linux__
    // Starts putting what is written so far on disk, without waiting for
    // it, so the flush at the end finds little left to wait for.
    if (flushToDisk_) {
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
#endif
    return 0;
}

WriteResult AtomicFileWriter::Commit() {
    if (refusedLink_) {
        return {false, "Cannot write \"" + path_ + "\": " + kSymbolicLinkInPlace};
    }
    WriteBuffer();
    if (file_ >= 0) {
        int fd = static_cast<int>(file_);
        file_ = -1;
        if (error_ == 0 && flushToDisk_ && ::fsync(fd) != 0) {
            Fail(errno);
        }
        if (error_ == 0 && temp_.empty()) {
            auto linked = LinkUnnamed(fd, FolderOf(target_));
            if (linked) {
                temp_ = std::move(*linked);
            } else {
                Fail(errno);
            }
        }
        if (::close(fd) != 0) {
            Fail(errno);
        }
    }
    if (error_ == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        Fail(errno);
    }
    if (error_ != 0) {
        return Failure(path_, error_);
    }
    temp_.clear();
    if (flushToDisk_) {
        FlushFolder(FolderOf(target_));
    }
    return {};
}

} // namespace tellavin
