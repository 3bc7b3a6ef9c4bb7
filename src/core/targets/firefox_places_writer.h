#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"
#include "targets/firefox_profile.h"

#include <ctime>
#include <functional>
#include <string>

namespace tellavin {

// Adds the tree to a Firefox profile's bookmark database, places.sqlite,
// while no Firefox runs on the profile (the database's folder).
//
// The export goes into the root options.place names (the toolbar, the
// bookmarks menu or "Other Bookmarks"), after what the root holds, inside
// a new folder named options.newFolder when it is given. Unless
// options.keepDuplicates, a folder of the export (the new folder too) whose
// title a folder that was there holds at the same place is joined with it,
// and a link whose address (NormalizedAddress) a link of the joined folder
// holds is left out; the result counts both. Nothing that is
// there changes: existing bookmarks keep their ids, GUIDs, tags, keywords
// and annotations. The tree is walked as the other writers walk it
// (exportAll, keepOrder and links); in the source's order separators are
// written too.
//
// The rows are those Firefox makes for a new bookmark: a moz_places row
// per address not there yet (an address that is there is shared), with
// Firefox's address hash, reversed host, a new GUID, frecency 1 and
// recalc_frecency 1, its origin in moz_origins, and foreign_count counting
// the new bookmark; a moz_bookmarks row per folder, link and separator with
// a new GUID, its parent and place, the link's or folder's dates in
// microseconds (the export's time where the source has none), syncStatus 1
// (new) and syncChangeCounter 1, the receiving folder's counter raised by
// one and its and its ancestors' change time set to the export's, so that
// a signed-in Firefox uploads the export as new items. A link's tags are
// written as Firefox keeps them: a folder per tag below the tags root (the
// one there when the tag is known) holding an untitled bookmark of the
// place. Its keyword goes into moz_keywords in lower case for the place
// (no post data), counted in the place's foreign_count, unless the keyword
// belongs to another place or the place has a keyword already: then it is
// reported as dropped. Descriptions, which Firefox no longer keeps, are
// reported as dropped.
//
// Before anything is written the database is checked (a places database
// of a tried layout, SQLite's integrity check) and copied with SQLite's
// backup, its write-ahead log included, to a backup of its own beside it
// (FreeTimedBackupPath), never over an existing file. All rows are added in one transaction:
// any failure rolls it back and the database stays as it was. After the
// commit SQLite's integrity check and a check that every row written refers
// to rows there must pass; else the backup is copied back over the
// database and the failure reported.
//
// The result counts the folders (not a new folder around the export) and
// links written, and names the root as Firefox shows it (sPlaceName), the
// new folder (sNewFolder) and the backup (sBackupPath). A Firefox running
// on the profile gives OutcomeKind::BrowserRunning (subject "Firefox"), one
// nobody can tell about BrowserStateUnknown; the other failures are
// WriteFailed or BackupFailed with a message naming the file and the
// reason ("the database's layout is version 91; this program writes
// versions 86 to 86 only").
ExportResult WriteFirefoxPlaces(BookmarkTree& tree, const std::string& placesFile,
                                const WriteOptions& options, std::time_t now,
                                ProgressSink& progress);

namespace detail {
// The same, calling afterCommit with the database's path once the rows are
// committed and before they are checked.
ExportResult WriteFirefoxPlaces(BookmarkTree& tree, const std::string& placesFile,
                                const WriteOptions& options, std::time_t now,
                                ProgressSink& progress,
                                const std::function<void(const std::string&)>& afterCommit);
} // namespace detail

// The reason a build without SQLite gives for every write into Firefox's
// database.
inline constexpr const char* kFirefoxPlacesWriteUnsupported =
    "writing Firefox's database is not supported by this build";

} // namespace tellavin
