#include "model/bookmark_counts.h"

#include <algorithm>

namespace tellavin {

bool HoldsAnyBookmark(BookmarkTree& tree) {
    if (!tree.HasRoot()) {
        return false;
    }
    if (tree.NodeCount() > 1) {
        return true;
    }
    if (!tree.EnsureListed(0)) {
        return false;
    }
    auto rows = tree.Rows(0);
    return std::any_of(rows.begin(), rows.end(), [](const auto& row) { return row.IsLink(); });
}

BookmarkCounts CountBookmarks(BookmarkTree& tree) {
    BookmarkCounts counts;
    if (!tree.HasRoot()) {
        return counts;
    }
    counts.folders = tree.NodeCount() - 1;
    for (std::int32_t folder = 0; folder < tree.NodeCount(); ++folder) {
        if (!tree.EnsureListed(folder)) {
            continue;
        }
        for (const auto& row : tree.Rows(folder)) {
            counts.links += row.IsLink() ? 1 : 0;
        }
    }
    return counts;
}

} // namespace tellavin
