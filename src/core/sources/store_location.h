#pragma once

#include "model/conversion_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Parses a store named on the command line, "kind:path" (favorites:DIR,
// netscape:FILE or opera:FILE); nothing when the kind is not known or the path is
// empty. A browser's own store is a Netscape-kind source whose reader its
// content picks: firefox:PROFILE names the profile folder's places.sqlite
// (or the database itself), chromium:PROFILE the profile folder's
// "Bookmarks" file (or that file itself).
std::optional<StoreLocation> ParseStoreLocation(std::string_view text);

// Whether the text names a browser's own store ("firefox:..." or
// "chromium:..."), which is never a target.
bool NamesBrowserStore(std::string_view text);

} // namespace tellavin
