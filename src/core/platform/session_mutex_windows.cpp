#include "platform/session_mutex_windows.h"

#include "platform/wide_text.h"

#include <windows.h>

namespace tellavin {

std::intptr_t LockSessionMutex(const std::string& name, const std::function<void()>& onWait) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, WideFromUtf8("Local\\" + name).c_str());
    if (mutex == nullptr) {
        return -1;
    }
    DWORD waited = WaitForSingleObject(mutex, 0);
    if (waited == WAIT_TIMEOUT) {
        if (onWait) {
            onWait();
        }
        waited = WaitForSingleObject(mutex, INFINITE);
    }
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(mutex);
}

void UnlockSessionMutex(std::intptr_t handle) {
    HANDLE mutex = reinterpret_cast<HANDLE>(handle);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

} // namespace tellavin
