#pragma once

#include "model/bookmark_sink.h"

#include <string>

namespace tellavin {

// Reads a Firefox profile's bookmark database, places.sqlite: the table
// moz_bookmarks (id, type 1 link / 2 folder / 3 separator, fk into
// moz_places for a link's url, parent, position, title, guid) with the
// fixed roots "menu________", "toolbar_____", "unfiled_____" and
// "mobile______" under "root________"; tags live under "tags________".
//
// The database is never opened where it lies: it is copied with its
// write-ahead log (places.sqlite-wal) into a temporary folder and the copy
// is opened read-only, so a running Firefox neither blocks the reading nor
// sees any change, and changes it has not yet merged from the log are read.
//
// The tree is the one Firefox's HTML export writes: the root shows
// "Bookmarks Menu" and holds the menu's contents; "Bookmarks Toolbar",
// "Other Bookmarks" and "Mobile Bookmarks" follow as folders, each only when
// it holds anything. Folders and links keep Firefox's order; separators and
// tags leave no trace; "place:" queries and links without an address are
// skipped. Nesting depth is not limited.
//
// Returns empty when the database was read, else why not: the system's
// reason when it cannot be read or copied, "not a Firefox bookmark database"
// for any other file. Nothing is pushed into sink then.
std::string LoadFirefoxPlaces(const std::string& path, BookmarkSink& sink);

inline constexpr const char* kFirefoxRootText = "Bookmarks Menu";

// The reason a build without SQLite (the Windows cross build, for which
// Debian has no SQLite) gives for every Firefox database: it is recognised
// by its content, and said to be unreadable rather than read as empty.
inline constexpr const char* kFirefoxPlacesUnsupported =
    "reading Firefox's database is not supported by this build";

} // namespace tellavin
