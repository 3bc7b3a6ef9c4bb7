#pragma once

#include "platform/atomic_file.h"

#include <string>
#include <string_view>

namespace tellavin::detail {

// The system's parts of WriteFileAtomically, one file per system.

// A symbolic link has the name path.
bool IsSymbolicLink(const std::string& path);

// The file a symbolic link at path points to, so that replacing it keeps
// the link; path itself when it is no link or the link leads nowhere.
std::string ResolvedTarget(const std::string& path);

// Replaces the file target with bytes through a temporary file beside it,
// moved over it in one step; the move replaces whatever has the name, a
// symbolic link included. Failures name path.
WriteResult ReplaceThroughTemporary(const std::string& path, const std::string& target,
                                    std::string_view bytes, bool flushToDisk);

} // namespace tellavin::detail
