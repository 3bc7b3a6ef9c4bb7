#include "platform/parent_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tellavin {

ProfileLock::ProfileLock(const std::string& lockFile) {
    int descriptor = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            heldElsewhere_ = false;
        }
        return;
    }
    // A read lock conflicts with the write lock a running Firefox holds,
    // and keeps one that starts now from taking it.
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(descriptor, F_SETLK, &lock) == 0) {
        handle_ = descriptor;
        heldElsewhere_ = false;
        return;
    }
    if (errno == EACCES || errno == EAGAIN) {
        heldElsewhere_ = true;
    }
    ::close(descriptor);
}

ProfileLock::~ProfileLock() {
    if (handle_ != kNone) {
        ::close(static_cast<int>(handle_));
    }
}

} // namespace tellavin
