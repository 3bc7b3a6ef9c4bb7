#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tellavin {

// A mutex of the user's session ("Local\" + name), where the program's
// processes meet to take turns: the locks of folders and of the settings
// file are such mutexes on Windows.

// Takes the mutex of that name, waiting while another process holds it
// (onWait, when given, hears first that the wait begins); an abandoned
// mutex, whose last holder ended without releasing it, is taken all the
// same. The held mutex as a handle, or -1 when it cannot be made.
std::intptr_t LockSessionMutex(const std::string& name, const std::function<void()>& onWait = {});

// Releases and closes a mutex LockSessionMutex took.
void UnlockSessionMutex(std::intptr_t handle);

} // namespace tellavin
