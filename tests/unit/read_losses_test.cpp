// Sources read from temporary folders: what reading cannot take into the
// tree is counted in what it left out, and the report shows it briefly.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

// The tree a source loads as, then one line per kind of loss; the counts
// the scanner gives must equal the tree.
std::string LoadedWithLosses(const StoreLocation& source) {
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree(source, tree)) << source.path;
    auto counts = CountSource(source);
    auto loaded = CountBookmarks(tree);
    EXPECT_TRUE(counts && counts->folders == loaded.folders && counts->links == loaded.links);
    auto text = test::OrderedTreeText(tree);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

// A Chromium Bookmarks file whose bookmarks bar holds the given nodes.
std::string BookmarksWithBar(const std::string& nodes) {
    return R"({"roots": {"bookmark_bar": {"type": "folder", "name": "Bar", "children": [)" + nodes +
           "]}}, \"version\": 1}";
}

std::string LoadedFile(const std::string& bytes, StoreKind kind = StoreKind::Netscape) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "Bookmarks", bytes);
    return LoadedWithLosses({kind, dir / "Bookmarks"});
}

TEST(ChromiumBookmarks, NodesOfUnknownTypeAndChildrenOfLinksAreCountedAsSkipped) {
    const std::pair<std::string, std::string> cases[] = {
        // A node without a type, with a type that is no text or of no kind
        // Chromium knows: each is one entry skipped.
        {R"({"name": "No type", "url": "http://a/"},
            {"type": 7, "name": "Number type", "url": "http://b/"},
            {"type": "bookmark", "name": "Odd type", "url": "http://c/"},
            {"type": "url", "name": "Kept", "url": "http://d/"})",
         "root[ Bar*[ Kept=http://d/ ] ]\n"
         "Entries of an unknown kind or place skipped: 3 (No type, Number type, Odd type)"},
        // Everything below a link is skipped, however deep; the link stays.
        {R"({"type": "url", "name": "Parent", "url": "http://p/", "children": [
              {"type": "url", "name": "Child", "url": "http://c/"},
              {"type": "folder", "name": "Inner", "children": [
                {"type": "url", "name": "Grandchild", "url": "http://g/"}]}]})",
         "root[ Bar*[ Parent=http://p/ ] ]\n"
         "Entries of an unknown kind or place skipped: 3 (Child, Inner, Grandchild)"},
        // Below a skipped node, too, every entry counts.
        {R"({"type": "separator", "name": "Odd", "children": [
              {"type": "url", "name": "Under odd", "url": "http://u/"}]})",
         "root[ Bar*[ ] ]\n"
         "Entries of an unknown kind or place skipped: 2 (Odd, Under odd)"},
        // Links without an address.
        {R"({"type": "url", "name": "Missing"}, {"type": "url", "name": "Blank", "url": ""},
            {"type": "url", "name": "Not text", "url": 5})",
         "root[ Bar*[ ] ]\n"
         "Links without a usable address skipped: 3 (Missing, Blank, Not text)"},
    };
    for (const auto& [nodes, expected] : cases) {
        EXPECT_EQ(LoadedFile(BookmarksWithBar(nodes)), expected) << nodes;
    }
}

} // namespace
} // namespace tellavin
