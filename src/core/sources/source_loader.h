#pragma once

#include "model/bookmark_counts.h"
#include "model/bookmark_tree.h"
#include "model/outcome.h"
#include "model/progress.h"
#include "sources/store_location.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tellavin {

// A source's folders and links as counted, and how the count went: a
// source that cannot be read counts nothing and says why (ReadOutcome).
struct SourceCount {
    ReadOutcome read;
    BookmarkCounts counts;
};

// Counts a source's folders and links with the scanner of its kind (a
// browser's own store through its reader); onFolder hears each folder's
// name as the count goes.
SourceCount CountSource(const StoreLocation& source,
                        const std::function<void(const std::string&)>& onFolder = {});

// Builds the bookmark tree of a source with the reader of its kind; a
// browser's store is read from the file of its profile (StoreFileOf), and
// a Netscape-kind source whose content is a browser's own store, Safari's
// Bookmarks.plist or an XBEL file by that store's reader
// (DetectBrowserStore, DetectStoreFileKind), as the windows offer them all
// in one list. Links bring the icons their
// store holds when the tree keeps icons (BookmarkTree::SetKeepIcons). A
// source that cannot be read leaves the tree empty; the outcome says why,
// with the system's reason, the browser store reader's, or, for a file read
// whole that holds nothing, whether it is of its kind at all.
ReadOutcome LoadSourceTree(const StoreLocation& source, BookmarkTree& tree,
                           ProgressSink* progress = nullptr);

} // namespace tellavin
