#include "platform/atomic_replace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

namespace {

WriteResult Failure(const std::string& path, int error) {
    return {false, "Cannot write \"" + path + "\": " + std::strerror(error)};
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

// Gives the new file the old one's owner and group, so that a file replaced
// by another user (root, say) stays the owner's. Only a privileged process
// may give a file away; for anyone else the file keeps the writer as owner.
bool KeepOwner(int fd, const struct stat& existing) {
    return ::fchown(fd, existing.st_uid, existing.st_gid) == 0 || errno == EPERM;
}

} // namespace

namespace detail {

bool IsSymbolicLink(const std::string& path) {
    struct stat link {};
    return ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
}

// A symbolic link is followed so that replacing the file keeps the link
// (a bookmark file kept in a synchronised folder, say) pointing at the new
// content.
std::string ResolvedTarget(const std::string& path) {
    if (!IsSymbolicLink(path)) {
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

WriteResult ReplaceThroughTemporary(const std::string& path, const std::string& target,
                                    std::string_view bytes, bool flushToDisk) {
    struct stat existing {};
    bool hadTarget = ::stat(target.c_str(), &existing) == 0;
    if (hadTarget && S_ISDIR(existing.st_mode)) {
        return Failure(path, EISDIR);
    }
    std::string temp = FolderOf(target) + "/.tellavin-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return Failure(path, errno);
    }
    mode_t mode = hadTarget ? (existing.st_mode & 07777) : 0666;
    if (!hadTarget) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = (!hadTarget || KeepOwner(fd, existing)) && ::fchmod(fd, mode) == 0 &&
              WriteAll(fd, bytes) && (!flushToDisk || ::fsync(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Failure(path, error);
    }
    return {};
}

} // namespace detail

} // namespace tellavin
