#include "platform/profile_lock.h"
#include "platform/wide_text.h"

#include <windows.h>

namespace tellavin {

// The browser made "lockfile" sharing only reading, and deletes it when it
// closes it: a running browser makes opening it for writing fail with a
// sharing violation. Opening an existing file changes nothing in it; the
// handle is closed at once, so the browser can start meanwhile.
std::optional<bool> ChromiumHoldsUserData(const std::string& userDataFolder) {
    auto lock = WidePath(userDataFolder + "\\lockfile");
    HANDLE file = CreateFileW(lock.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return false;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return true;
    default:
        // Access denied is also what a file being deleted gives: a browser
        // closing, or a file this user may not write; neither tells.
        return std::nullopt;
    }
}

} // namespace tellavin
