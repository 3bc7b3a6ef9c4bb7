#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>

namespace tellavin {

// How many folders (the root not counted) and links a store holds.
struct BookmarkCounts {
    std::int32_t folders = 0;
    std::int32_t links = 0;

    bool Empty() const { return folders == 0 && links == 0; }
};

// Counts a loaded tree, listing every folder not listed yet; the links of a
// folder that cannot be listed do not count.
BookmarkCounts CountBookmarks(BookmarkTree& tree);

} // namespace tellavin
