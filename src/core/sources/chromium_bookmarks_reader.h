#pragma once

#include "model/bookmark_sink.h"

#include <string>

namespace tellavin {

// Reads the "Bookmarks" file of a Chromium-family browser (Chromium, Chrome,
// Edge, Brave, Vivaldi): a JSON document whose "roots" object holds the
// folders "bookmark_bar", "other" and "synced" (mobile bookmarks), each a
// node of the form
//
//   folder := {"type": "folder", "name": text, "children": [node, ...]}
//   link   := {"type": "url", "name": text, "url": address}
//
// The tree is the one Chromium's own HTML export writes: the root shows
// "Bookmarks"; the bookmarks bar is a folder under its stored name, and the
// contents of "other" and then "synced" follow it at the top level. Names
// and addresses are taken as stored, a folder's date_added and date_modified
// (microseconds since 1601) as its dates. A link without an address, a node of
// another type or of none, and every node below a link are skipped and
// noted as losses. Nesting depth is not limited. The document is read as a
// stream (ReadJsonNodes) that keeps only names, addresses, types and dates,
// and the file's text is let go before anything is pushed.
//
// Returns empty when the file was read, else why not: the system's reason
// when it cannot be read, "not a Chromium Bookmarks file" for a file that is
// not such a JSON document. Nothing is pushed into sink then.
std::string LoadChromiumBookmarks(const std::string& path, BookmarkSink& sink);

inline constexpr const char* kChromiumRootText = "Bookmarks";

} // namespace tellavin
