// Firefox's places.sqlite and Chromium's "Bookmarks" file read as sources:
// the loader picks their reader by content, the tree is the one each
// browser's HTML export holds, and the counts equal the tree.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return (fs::path(TELLAVIN_TEST_DATA) / "browsers" / name).string();
}

// The root's text, the tree a Netscape-kind source loads as in its own
// order (with addresses, dates, separators, the toolbar mark, folder dates,
// keywords and tags) and what
// reading left out, after checking that counting it gives the tree's own
// counts.
std::string Loaded(const std::string& path) {
    StoreLocation source{StoreKind::Netscape, path};
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree(source, tree)) << path;
    auto [read, counts] = CountSource(source);
    EXPECT_TRUE(read) << path << ": " << read.reason;
    auto loaded = CountBookmarks(tree);
    EXPECT_EQ(counts.folders, loaded.folders) << path;
    EXPECT_EQ(counts.links, loaded.links) << path;
    auto text = tree.Node(0).Text + ": " + test::OrderedTreeText(tree, true, true);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

struct StoreCase {
    const char* fixture;
    const char* tree;
};

TEST(BrowserStores, TreesAsEachBrowsersOwnExportArrangesThem) {
    const StoreCase cases[] = {
        // Menu contents at the top; the toolbar, unfiled and mobile roots as
        // folders; dates of links and folders in whole seconds; the tag on
        // its link; the place: query left out and reported.
        {"nested-folders-tags-queries.sqlite",
         "Bookmarks Menu: root[ "
         "Zürich – Ünïcode=https://example.org/z%C3%BCrich{1600000101/1600086501} "
         "Nested{1600000102/1600086502}[ Deep{1600000103/1600086503}[ Deep "
         "link=http://example.com/deep?a=1&b=<2>{1600000104/1600086504}<t:news> ] --- After "
         "separator=http://example.com/after{1600000106/1600086506} ] "
         "Empty{1600000107/1600086507}[ ] =http://example.com/untitled{1600000109/1600086509} --- "
         "Bookmarks Toolbar*[ Toolbar link=http://example.com/toolbar{1600000111/1600086511} "
         "Tools{1600000112/1600086512}[ "
         "日本語=http://example.jp/{1600000113/1600086513} ] ] Other Bookmarks[ "
         "Unfiled link=http://example.com/unfiled{1600000114/1600086514} ] Mobile Bookmarks[ "
         "Phone link=http://example.com/phone{1600000115/1600086515} ] ]\n"
         "Links without a usable address skipped: 1 (Most Visited)"},
        // Bookmarks still only in the write-ahead log are read.
        {"unmerged-wal.sqlite",
         "Bookmarks Menu: root[ Merged link=http://example.com/merged{1600000101/1600086501} "
         "Only in the log=http://example.com/log{1600000102/1600086502} Bookmarks Toolbar*[ "
         "Log folder{1600000103/1600086503}[ Log "
         "child=http://example.com/log/child{1600000104/1600086504} ] ] ]"},
        // The bar as the toolbar folder, "other" and "synced" contents at the
        // top; times of links and folders counted from 1601 in microseconds.
        {"chromium-nested-roots.json",
         "Bookmarks: root[ Bookmarks bar*{1655526400/0}[ "
         "Bar link=https://example.com/bar{1655526400/0} Nested{1655526400/0}[ "
         "Deep{1655526400/0}[ Deep link=http://example.com/a&b{1655526400/0} ] ] "
         "Empty{1655526400/0}[ ] ] Ünïcode – 日本語=http://example.jp/%E6%97%A5{1655526400/0} "
         "Other folder{1655526400/0}[ "
         "Inner=http://example.com/inner{1655526400/0} ] "
         "Phone=http://example.com/phone{1655526400/0} ]"},
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
        EXPECT_EQ(LoadSourceTree(source, tree).reason, why) << fixture;
        EXPECT_EQ(CountSource(source).read.reason, why) << fixture;
        EXPECT_FALSE(tree.HasRoot()) << fixture;
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
