#include "platform/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

namespace {

// Whether the locked descriptor still is the file the name leads to: the
// holder before removed it as it unlocked, and whoever waited for that one
// holds a lock nobody else looks at.
bool StillNamed(int descriptor, const std::string& name) {
    struct stat held {};
    struct stat named {};
    return ::fstat(descriptor, &held) == 0 && ::stat(name.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

} // namespace

FileLock::FileLock(const std::string& path) : lockFile_(path + ".lock") {
    for (;;) {
        int descriptor = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            return;
        }
        int locked = 0;
        while ((locked = ::flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (locked != 0) {
            ::close(descriptor);
            return;
        }
        if (StillNamed(descriptor, lockFile_)) {
            handle_ = descriptor;
            return;
        }
        ::close(descriptor);
    }
}

FileLock::~FileLock() {
    if (Locked()) {
        // Removed before it is unlocked, so that a process that opened it
        // meanwhile finds out it holds a stale lock and starts over.
        ::unlink(lockFile_.c_str());
        ::close(static_cast<int>(handle_));
    }
}

} // namespace tellavin
