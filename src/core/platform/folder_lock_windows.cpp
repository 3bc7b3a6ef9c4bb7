#include "platform/file_identity.h"
#include "platform/folder_lock.h"
#include "platform/wide_text.h"

#include <windows.h>

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
    std::string name = "Local\\tellavin-folder-" + std::to_string(identity->device) + "-" +
                       std::to_string(identity->file);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, WideFromUtf8(name).c_str());
    if (mutex == nullptr) {
        return;
    }
    // An abandoned mutex (its last holder ended without releasing it) is
    // owned all the same.
    DWORD waited = WaitForSingleObject(mutex, 0);
    if (waited == WAIT_TIMEOUT) {
        if (onWait) {
            onWait();
        }
        waited = WaitForSingleObject(mutex, INFINITE);
    }
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

FolderLock::~FolderLock() {
    if (Locked()) {
        HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

} // namespace tellavin
