#include "support/loaded_store.h"

#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/ordered_tree.h"

#include <gtest/gtest.h>

namespace tellavin::test {

std::string LoadedStoreText(const StoreLocation& source) {
    BookmarkTree tree;
    auto read = LoadSourceTree(source, tree);
    if (!read) {
        return "unreadable: " + read.reason;
    }
    auto [counted, counts] = CountSource(source);
    auto loaded = CountBookmarks(tree);
    EXPECT_TRUE(counted && counts.folders == loaded.folders && counts.links == loaded.links);
    auto text = tree.Node(0).Text + " " + OrderedTreeText(tree, true, true);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

} // namespace tellavin::test
