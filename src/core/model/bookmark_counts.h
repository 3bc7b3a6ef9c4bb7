#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>

namespace tellavin {

// How many folders (the root not counted) and links a store holds.
struct BookmarkCounts {
    std::int32_t folders = 0;
    std::int32_t links = 0;
};

// The tree holds a folder or a link; only the root is listed for it.
bool HoldsAnyBookmark(BookmarkTree& tree);

// Counts a loaded tree, listing every folder not listed yet; the links of a
// folder that cannot be listed do not count.
BookmarkCounts CountBookmarks(BookmarkTree& tree);

} // namespace tellavin
