#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <windows.h>

namespace tellavin {

// Windows counts file times in 100-nanosecond ticks since 1601; the
// system clock counts from 1970.
constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000LL;

// What the system knows of the file or folder path names (a symbolic link
// followed): attributes, times, volume and file number; nothing when it
// cannot be opened. No access is asked for, so a file others hold open
// answers too.
std::optional<BY_HANDLE_FILE_INFORMATION> ReadFileInformation(const std::string& path);

} // namespace tellavin
