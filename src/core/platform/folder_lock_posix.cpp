#include "platform/folder_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tellavin {

FolderLock::FolderLock(const std::string& folder, const std::function<void()>& onWait) {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        handle_ = descriptor;
        return;
    }
    if (errno == EWOULDBLOCK && onWait) {
        onWait();
    }
    while (::flock(descriptor, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(descriptor);
            return;
        }
    }
    handle_ = descriptor;
}

FolderLock::~FolderLock() {
    if (Locked()) {
        ::close(static_cast<int>(handle_));
    }
}

} // namespace tellavin
