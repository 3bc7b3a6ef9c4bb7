#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/wide_text.h"
#include "text/ascii_text.h"

#include <windows.h>

namespace tellavin {

// The file is replaced at every change, and a lock file beside it could
// not be removed while others wait on it. The program's processes meet at
// a mutex instead, named after the folder's identity (the same whichever
// path, case or link reaches it) and the file's name in lower case, as
// Windows compares names. The mutex lives in the user's session: the
// processes it keeps apart are the user's own.
FileLock::FileLock(const std::string& path) {
    auto file = PathFromUtf8(path);
    auto folder = IdentifyFile(Utf8FromPath(file.parent_path()));
    if (!folder) {
        return;
    }
    std::string name = "Local\\tellavin-file-" + std::to_string(folder->device) + "-" +
                       std::to_string(folder->file) + "-" +
                       LowerAscii(Utf8FromPath(file.filename()));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, WideFromUtf8(name).c_str());
    if (mutex == nullptr) {
        return;
    }
    // An abandoned mutex (its last holder ended without releasing it) is
    // owned all the same.
    DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

FileLock::~FileLock() {
    if (Locked()) {
        HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

} // namespace tellavin
