#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "platform/session_mutex_windows.h"
#include "text/ascii_text.h"

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
    handle_ = LockSessionMutex("tellavin-file-" + std::to_string(folder->device) + "-" +
                               std::to_string(folder->file) + "-" +
                               LowerAscii(Utf8FromPath(file.filename())));
}

FileLock::~FileLock() {
    if (Locked()) {
        UnlockSessionMutex(handle_);
    }
}

} // namespace tellavin
