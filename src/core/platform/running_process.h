#pragma once

#include "platform/platform.h"

#include <optional>
#include <span>
#include <string_view>

namespace tellavin {

// Whether a process with one of the given executable names runs. Names
// match whole and without regard to case; any folder part of a listed name
// is ignored, so "FIREFOX.EXE" matches "firefox.exe" but "firefox.exe.bak"
// does not. Nothing when the process list cannot be read: the answer is
// then unknown, never "not running".
std::optional<bool> IsProcessRunning(const Platform& platform,
                                     std::span<const std::string_view> names);
std::optional<bool> IsProcessRunning(const Platform& platform, std::string_view name);

} // namespace tellavin
