#pragma once

#include <cstdint>
#include <string>

namespace tellavin {

// Sets a folder's last change to a time in seconds since 1970 UTC; false
// when the system would not. Windows opens a folder for this only with
// backup semantics, which the standard library does not ask for.
bool SetFolderLastWrite(const std::string& folder, std::int64_t seconds);

} // namespace tellavin
