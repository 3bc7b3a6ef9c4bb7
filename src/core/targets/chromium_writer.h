#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"
#include "sources/chromium_profile.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tellavin {

// The names a Chromium-family browser gives its roots in a new file (and
// shows them under).
inline constexpr const char* kChromiumBarName = "Bookmarks bar";
inline constexpr const char* kChromiumOtherName = "Other bookmarks";
inline constexpr const char* kChromiumMobileName = "Mobile bookmarks";

// The deepest a browser reads a bookmarks file nested: its JSON reader
// refuses a document whose arrays and objects nest 200 deep (the document
// itself counting as the first), and a file
// it cannot read leaves the profile without bookmarks.
inline constexpr std::int32_t kChromiumMaxJsonDepth = 199;

// Adds the tree to a Chromium-family profile's bookmarks file (store, from
// ChromiumBookmarksOf), into the root options.place names (the bookmarks
// bar, or the other bookmarks), inside a new folder options.newFolder when
// it is set. What is written and in which order follows exportAll,
// keepOrder and links as in the other writers; separators, which the
// browser has not, are noted as dropped, and so are links' change dates; a
// toolbar folder of the source is written as an ordinary folder and noted.
// Unless options.keepDuplicates, a folder of the export (the new folder
// too) whose name a folder of the file holds at the same place is joined
// with it, and a link whose address (NormalizedAddress) a link of the
// joined folder holds is left out; the result counts both.
//
// The file is read as a JSON document that keeps every member: existing
// nodes, their ids, GUIDs, dates, meta_info and sync_metadata, and members
// this writer does not know, stay exactly as they were. A file that does
// not parse, or has no "roots" object holding "bookmark_bar" and "other",
// is refused ("... is not a Chromium Bookmarks file") and nothing is
// written. A missing file starts as the browser starts one: the three
// roots with ids 1, 2 and 3 and their fixed GUIDs.
//
// New nodes get ids above every id of the file (and of the profile's other
// store, which the browser loads beside it), new random GUIDs, and as
// creation time the link's (the time of the export, now, for a folder and
// for a link without one), in the browser's time: microseconds since 1601
// UTC. A file whose ids leave no room below the largest 64-bit number, or
// that would nest deeper than the browser reads (kChromiumMaxJsonDepth),
// is refused. The checksum is made anew over the whole result; the file
// is written as the browser writes it (ChromiumJsonText).
//
// Before the file is replaced (in one step), an existing file is copied
// to a backup of its own (MakeTimedBackup), and a backup that cannot be
// made stops the export with nothing written. "Bookmarks.bak", the browser's own backup, is not
// touched. The result names the root as the browser shows it
// (sPlaceName: "Other bookmarks", or "Bookmarks bar"; Firefox's menu,
// which the browser has not, counts as the other bookmarks), the new folder
// (sNewFolder) and the backup (sBackupPath); its advice names the file
// written and says what follows from an account store or an encrypted copy.
ExportResult WriteChromiumBookmarks(BookmarkTree& tree, const ChromiumProfileFiles& store,
                                    const WriteOptions& options, std::time_t now,
                                    ProgressSink& progress);

namespace detail {
// The browser's time of a moment given in seconds since 1970 UTC:
// microseconds since 1601-01-01 UTC, as decimal digits.
std::string ChromiumTime(std::int64_t secondsSince1970);
// A random GUID of version 4, in lower case.
std::string RandomGuid();
} // namespace detail

} // namespace tellavin
