#include "model/bookmark_counts.h"

namespace tellavin {

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
