#pragma once

#include "model/bookmark_sink.h"

#include <functional>
#include <string>

namespace tellavin {

// Reads a Firefox profile's bookmark database, places.sqlite: the table
// moz_bookmarks (id, type 1 link / 2 folder / 3 separator, fk into
// moz_places for a link's url, parent, position, title, guid) with the
// fixed roots "menu________", "toolbar_____", "unfiled_____" and
// "mobile______" under "root________"; tags live under "tags________".
//
// The database is never read where it lies but from a copy in a temporary
// folder that only the user may enter, removed when reading ends, so that a
// running Firefox neither waits for the reading nor sees it. The copy holds
// one committed state, changes still only in the write-ahead log included:
// - When SQLite can read the database in place, SQLite's online backup
//   copies it, under SQLite's own locks, as of the moment it began.
// - When it cannot (a running Firefox holds the database exclusively, or
//   another program's write left a journal to roll back), the database file
//   is copied, then its log (as far as the log's current frames go) and its
//   journal; SQLite opens the copy, reads the log and rolls an unfinished
//   write back from the journal. The copy is taken only when none of the
//   three files changed while it was made (their lengths, times and
//   headers: the database's change counter, the log's checkpoint sequence
//   and salts); else it is made again, a few times, and then the database
//   is said to be "being written by another program".
//
// The tree is the one Firefox's HTML export writes: the root shows
// "Bookmarks Menu" and holds the menu's contents; "Bookmarks Toolbar",
// "Other Bookmarks" and "Mobile Bookmarks" follow as folders, each only when
// it holds anything. Folders, links and separators keep Firefox's order
// and their dates; a link carries its place's keyword (moz_keywords) and
// tags (the tag folders below "tags________" that hold a bookmark of the
// place, by name); "place:" queries and links whose place row is missing or
// has no address are skipped, and each is noted as a loss. Nesting depth is
// not limited.
//
// Returns empty when the database was read, else why not: the system's
// reason when the database, its log or journal cannot be read or the
// temporary folder not made or written ("cannot copy into the temporary
// folder /tmp: No space left on device"), SQLite's reason when SQLite
// cannot read the copy ("file is not a database"), "the database is being
// written by another program", "damaged database: a folder lies inside
// itself" for a parent cycle in the table, and "not a Firefox bookmark
// database" for a database without Firefox's tables and roots. Nothing is
// pushed into sink then.
std::string LoadFirefoxPlaces(const std::string& path, BookmarkSink& sink);

namespace detail {
// The same, calling duringCopy while a copy is under way: between the
// backup's start of its read transaction and its copying, and between the
// copy of the database file and those of its log and journal.
std::string LoadFirefoxPlaces(const std::string& path, BookmarkSink& sink,
                              const std::function<void()>& duringCopy);
} // namespace detail

inline constexpr const char* kFirefoxRootText = "Bookmarks Menu";

// The reason a build without SQLite (the Windows cross build, for which
// Debian has no SQLite) gives for every Firefox database: it is recognised
// by its content, and said to be unreadable rather than read as empty.
inline constexpr const char* kFirefoxPlacesUnsupported =
    "reading Firefox's database is not supported by this build";

} // namespace tellavin
