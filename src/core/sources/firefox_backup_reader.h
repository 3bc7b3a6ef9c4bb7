#pragma once

#include "model/bookmark_sink.h"

#include <string>
#include <string_view>

namespace tellavin {

// Reads a Firefox bookmark backup: the files Firefox keeps in a profile's
// "bookmarkbackups" folder ("bookmarks-2026-12-07_1234_....jsonlz4",
// compressed as kMozLz4Magic says) and the plain ".json" files of the
// Library's "Backup…". Either holds one JSON document, a tree of nodes
//
//   node      := {"type": type, "title": text, "root": root?,
//                 "children": [node, ...]?, ...}
//   link      := type "text/x-moz-place", "uri": address,
//                "dateAdded"/"lastModified": microseconds since 1970,
//                "tags": "tag,tag"?, "keyword": text?
//   folder    := type "text/x-moz-place-container"
//   separator := type "text/x-moz-place-separator"
//
// whose top node has the root "placesRoot" and holds the roots
// "bookmarksMenuFolder", "toolbarFolder", "unfiledBookmarksFolder" and
// "mobileFolder".
//
// The tree is the one the database reader gives for the same bookmarks
// (LoadFirefoxPlaces): the root shows "Bookmarks Menu" and holds the menu's
// contents; "Bookmarks Toolbar", "Other Bookmarks" and "Mobile Bookmarks"
// follow as folders, each only when it holds anything; dates in whole
// seconds; "place:" queries and links without an address are skipped. Each
// tag and keyword of a link is noted as dropped; each query and skipped
// link as a loss, and a node of another type or of none, and every node
// below a link or separator, as a skipped entry. Nesting depth is not
// limited: the document is read as a stream (ReadJsonNodes).
//
// Returns empty when the file was read, else why not: the system's reason
// when it cannot be read, the decompression's (DecompressMozLz4) for a
// compressed file, "not a Firefox bookmark backup" for anything else.
// Nothing is pushed into sink then.
std::string LoadFirefoxBackup(const std::string& path, BookmarkSink& sink);

// Whether a file's first bytes are a backup's: the compressed form's magic,
// or a JSON object holding the key/value "root": "placesRoot" within the
// bytes given (Firefox writes the top node's keys before its children).
bool LooksLikeFirefoxBackup(std::string_view start);

inline constexpr const char* kNotFirefoxBackup = "not a Firefox bookmark backup";

} // namespace tellavin
