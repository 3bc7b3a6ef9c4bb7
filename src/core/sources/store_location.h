#pragma once

#include "model/store_kind.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Parses a store named on the command line, "kind:path" with the name of
// any kind but the menu page (favorites:DIR, netscape:FILE, opera:FILE,
// firefox:PROFILE, chromium:PROFILE, firefox-backup:FILE, xbel:FILE,
// safari:FILE); nothing when the kind is not known or the path is empty. A
// browser's store is named by its profile folder or by its file in that
// folder, Safari's by its Bookmarks.plist or the folder holding it.
std::optional<StoreLocation> ParseStoreLocation(std::string_view text);

// The file of a browser's store that a location names: the profile folder's
// places.sqlite for Firefox, the file ChromiumBookmarksOf picks for the
// Chromium family, the folder's Bookmarks.plist for Safari; a file named
// itself is that file. Other stores are their path.
std::string StoreFileOf(const StoreLocation& location);

} // namespace tellavin
