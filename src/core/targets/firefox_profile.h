#pragma once

#include "model/write_options.h"

#include <optional>
#include <string>

namespace tellavin {

// Whether Firefox runs on the profile in this folder: whether another
// process holds the lock on its .parentlock file (platform/parent_lock.h).
// The "lock" symbolic link is not asked: Firefox leaves it behind when it
// quits. Nothing when nobody can tell (the file is there but cannot be
// opened).
std::optional<bool> FirefoxRunsOnProfile(const std::string& profileFolder);

// The lock file of the profile in this folder.
std::string FirefoxProfileLockFile(const std::string& profileFolder);

// How Firefox shows the root an export goes to: "Bookmarks Toolbar",
// "Bookmarks Menu" or "Other Bookmarks".
std::string FirefoxRootName(BrowserRoot place);

// The oldest and newest places.sqlite layout (PRAGMA user_version) the
// writer was tried on; a database of another version is refused.
inline constexpr int kOldestFirefoxSchema = 86;
inline constexpr int kNewestFirefoxSchema = 86;

} // namespace tellavin
