#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace tellavin {

// The checksum a Chromium-family browser stores in its "Bookmarks" file
// and checks on reading it: the MD5 digest, as 32 lower-case hexadecimal
// digits, of the roots "bookmark_bar", "other" and "synced" in that order,
// each walked depth first. A link adds its id's digits, its name as UTF-16
// (little-endian), "url" and its address as stored; a folder its id, its
// name as UTF-16, "folder" and then each of its children. roots is the
// document's "roots" object; a root it does not hold adds nothing.
std::string ChromiumChecksum(const nlohmann::json& roots);

} // namespace tellavin
