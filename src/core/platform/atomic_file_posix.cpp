#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

namespace {

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

} // namespace

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

// Makes the temporary file beside the target, with the target's
// permissions and owner, or those a new file gets; the rename replaces
// whatever has the name, a symbolic link included, and never writes where
// one points.
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
    temp_ = FolderOf(target_) + "/.tellavin-XXXXXX";
    int fd = ::mkstemp(temp_.data());
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
    return {};
}

} // namespace tellavin
