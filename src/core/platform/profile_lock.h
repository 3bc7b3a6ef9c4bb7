#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Whether a Chromium-family browser holds its user-data folder (the folder
// above its profile folders) now: true while one runs on it, false when
// none does, nothing when that cannot be told.
//
// On POSIX systems the browser keeps a symbolic link "SingletonLock" in the
// folder whose target reads "HOST-PID". It holds the folder when HOST is
// this machine's name and the process PID lives; a link a crashed browser
// left (its process gone, or made on another machine sharing the folder)
// holds nothing, and neither does a folder without one. A lock that is no
// link or reads otherwise cannot be told.
//
// On Windows the browser keeps a file "lockfile" there open, shared with
// nobody else for writing, while it runs: the folder is held when that file
// exists and cannot be opened for writing by another program.
std::optional<bool> ChromiumHoldsUserData(const std::string& userDataFolder);

namespace detail {
struct SingletonLockOwner {
    std::string host;
    std::int64_t pid = 0;
};
// The host name and process of a SingletonLock link's target, split at its
// last "-" (host names hold dashes); nothing unless the part after it is a
// positive process number.
std::optional<SingletonLockOwner> ParseSingletonLock(std::string_view target);
} // namespace detail

} // namespace tellavin
