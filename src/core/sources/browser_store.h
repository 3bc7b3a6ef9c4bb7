#pragma once

#include "model/bookmark_sink.h"

#include <string>

namespace tellavin {

// The browsers' own bookmark stores that a Netscape-kind source may be
// instead of a bookmark file. The file's content decides, never its name:
// an SQLite database is Firefox's places.sqlite, a Firefox backup
// (LooksLikeFirefoxBackup) is one, any other JSON document is a
// Chromium-family "Bookmarks" file, anything else is a Netscape-format file.
enum class BrowserStore { None, FirefoxPlaces, FirefoxBackup, ChromiumBookmarks };

// The store the file at path holds by its first bytes; None when the file
// cannot be read or is neither store.
BrowserStore DetectBrowserStore(const std::string& path);

// Reads a browser's store into sink; empty when it was read, else why not.
// When the sink keeps icons, links bring those of the profile's icon
// database (OpenFirefoxFavicons, OpenChromiumFavicons), if it can be read.
std::string ReadBrowserStore(BrowserStore store, const std::string& path, BookmarkSink& sink);

} // namespace tellavin
