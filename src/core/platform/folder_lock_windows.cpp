#include "platform/file_identity.h"
#include "platform/folder_lock.h"
#include "platform/session_mutex_windows.h"

namespace tellavin {

// A folder cannot be locked as a file can, and a handle that kept others
// out of it would stop them listing it too. Writers meet instead at a mutex
// named after the folder's identity, the same whichever path, case or link
// reaches the folder. The mutex lives in the user's session: the writers it
// keeps apart are the user's own.
FolderLock::FolderLock(const std::string& folder, const std::function<void()>& onWait) {
    auto identity = IdentifyFile(folder);
    if (!identity) {
        return;
    }
    handle_ = LockSessionMutex("tellavin-folder-" + std::to_string(identity->device) + "-" +
                                   std::to_string(identity->file),
                               onWait);
}

FolderLock::~FolderLock() {
    if (Locked()) {
        UnlockSessionMutex(handle_);
    }
}

} // namespace tellavin
