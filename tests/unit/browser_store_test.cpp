// Firefox's places.sqlite and Chromium's "Bookmarks" file read as sources:
// the loader picks their reader by content, the tree is the one each
// browser's HTML export holds, and the counts equal the tree.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return (fs::path(TELLAVIN_TEST_DATA) / "browsers" / name).string();
}

// The tree a Netscape-kind source loads as, with addresses, after checking
// that counting it gives the tree's own counts.
std::string Loaded(const std::string& path) {
    StoreLocation source{StoreKind::Netscape, path};
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree(source, tree)) << path;
    auto counts = CountSource(source);
    EXPECT_TRUE(counts.has_value()) << path;
    if (counts) {
        auto loaded = CountBookmarks(tree);
        EXPECT_EQ(counts->folders, loaded.folders) << path;
        EXPECT_EQ(counts->links, loaded.links) << path;
    }
    EXPECT_EQ(WhySourceUnreadable(source), "") << path;
    return test::TreeText(tree, true);
}

struct StoreCase {
    const char* fixture;
    const char* tree;
};

TEST(BrowserStores, TreesAsEachBrowsersOwnExportArrangesThem) {
    const StoreCase cases[] = {
        // Menu contents at the top; the toolbar, unfiled and mobile roots as
        // folders; tags, separators and the place: query leave no trace.
        {"nested-folders-tags-queries.sqlite",
         "Bookmarks Menu[ Zürich – Ünïcode=https://example.org/z%C3%BCrich "
         "=http://example.com/untitled Bookmarks Toolbar[ Toolbar link=http://example.com/toolbar "
         "Tools[ 日本語=http://example.jp/ ] ] Empty[ ] Mobile Bookmarks[ "
         "Phone link=http://example.com/phone ] Nested[ After separator=http://example.com/after "
         "Deep[ Deep link=http://example.com/deep?a=1&b=<2> ] ] Other Bookmarks[ "
         "Unfiled link=http://example.com/unfiled ] ]"},
        // Bookmarks still only in the write-ahead log are read.
        {"unmerged-wal.sqlite",
         "Bookmarks Menu[ Merged link=http://example.com/merged "
         "Only in the log=http://example.com/log Bookmarks Toolbar[ Log folder[ "
         "Log child=http://example.com/log/child ] ] ]"},
        // The bar as a folder, "other" and "synced" contents at the top.
        {"chromium-nested-roots.json",
         "Bookmarks[ Ünïcode – 日本語=http://example.jp/%E6%97%A5 Phone=http://example.com/phone "
         "Bookmarks bar[ Bar link=https://example.com/bar Empty[ ] Nested[ Deep[ "
         "Deep link=http://example.com/a&b ] ] ] Other folder[ Inner=http://example.com/inner ] ]"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Loaded(Fixture(row.fixture)), row.tree) << row.fixture;
    }
}

TEST(BrowserStores, FilesThatAreNoSuchStoreAreRefusedWithTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"sqlite-without-bookmarks.sqlite", "not a Firefox bookmark database"},
        {"json-without-roots.json", "not a Chromium Bookmarks file"},
        {"truncated-json.json", "not a Chromium Bookmarks file"},
    };
    for (const auto& [fixture, why] : cases) {
        StoreLocation source{StoreKind::Netscape, Fixture(fixture)};
        BookmarkTree tree;
        EXPECT_FALSE(LoadSourceTree(source, tree)) << fixture;
        EXPECT_FALSE(CountSource(source).has_value()) << fixture;
        EXPECT_EQ(WhySourceUnreadable(source), why) << fixture;
    }
}

TEST(BrowserStores, TheDatabaseItselfIsNeitherChangedNorLeftWithCompanions) {
    test::TempDir dir;
    auto database = dir / "places.sqlite";
    fs::copy_file(Fixture("unmerged-wal.sqlite"), database);
    fs::copy_file(Fixture("unmerged-wal.sqlite-wal"), database + "-wal");
    auto before = test::ReadFile(database) + test::ReadFile(database + "-wal");

    Loaded(database);

    EXPECT_EQ(test::ReadFile(database) + test::ReadFile(database + "-wal"), before);
    EXPECT_FALSE(fs::exists(database + "-shm"));
}

} // namespace
} // namespace tellavin
