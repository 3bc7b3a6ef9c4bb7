#include "platform/parent_lock.h"
#include "platform/wide_text.h"

#include <windows.h>

namespace tellavin {

ProfileLock::ProfileLock(const std::string& lockFile) {
    // Opened without sharing, as Firefox opens it: while either holds it
    // open, the other cannot open it at all.
    HANDLE file = CreateFileW(WidePath(lockFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        handle_ = reinterpret_cast<std::intptr_t>(file);
        heldElsewhere_ = false;
        return;
    }
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        heldElsewhere_ = true;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        heldElsewhere_ = false;
        break;
    default:
        break;
    }
}

ProfileLock::~ProfileLock() {
    if (handle_ != kNone) {
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

} // namespace tellavin
