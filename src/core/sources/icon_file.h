#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// The bytes of the file a shortcut's IconFile names: a path on this machine,
// a relative one counting from the shortcut's folder, or a file: URL of one
// (on this machine: no host, or "localhost"). Empty for an address of any
// other scheme (icons on the web are not fetched) and for a file that cannot
// be read or is larger than kMaxLinkIconBytes. Whether the bytes are an
// image is for the icon table to tell.
std::string ReadIconFile(std::string_view iconFile, const std::string& shortcutFolder);

} // namespace tellavin
