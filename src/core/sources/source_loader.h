#pragma once

#include "model/bookmark_counts.h"
#include "model/bookmark_tree.h"
#include "model/progress.h"
#include "sources/store_location.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tellavin {

// Counts a source's folders and links with the scanner of its kind (a
// browser's own store through its reader); onFolder
// hears each folder's name as the count goes. Nothing when the source cannot
// be read.
std::optional<BookmarkCounts>
CountSource(const StoreLocation& source,
            const std::function<void(const std::string&)>& onFolder = {});

// Why a source cannot be read as a store of its kind: the system's reason
// when it cannot be read at all; "not a Netscape-format file" for a file
// without the bookmark file's doctype from which the reader takes nothing,
// "not an Opera hotlist" for a file without a hotlist's header; for a
// Netscape-kind source that is a browser's own store (BrowserStore), its
// reader's reason. Empty when the source reads as its kind.
std::string WhySourceUnreadable(const StoreLocation& source);

// Builds the bookmark tree of a source with the reader of its kind; a
// Netscape-kind source whose content is a browser's own store is read by
// that store's reader (DetectBrowserStore). Links
// bring the icons their store holds when the tree keeps icons
// (BookmarkTree::SetKeepIcons). Returns false, leaving the tree empty, when
// the source cannot be read.
bool LoadSourceTree(const StoreLocation& source, BookmarkTree& tree,
                    ProgressSink* progress = nullptr);

} // namespace tellavin
