// Safari Bookmarks.plist files of our own (tests/data/safari, made by its
// make_fixtures.py), binary and XML, each read as one whole tree with what
// reading left out.
#include "sources/safari_reader.h"
#include "sources/source_loader.h"
#include "support/canonical_tree.h"
#include "support/loaded_store.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return std::string(TELLAVIN_TEST_DATA) + "/safari/" + name;
}

const std::string kNested =
    "Safari root[ Favorites*[ Apple=https://www.apple.com/ Popular[ Wiki — “quotes” "
    "…=https://wiki.example/» ] ] Bookmarks Menu[ Menu link=https://menu.example/ ] "
    "Google=https://www.google.com/?client=safari&channel=mac_bm Projects[ Deep[ "
    "File=file:///Users/ann/notes.txt ] ] Reading List[ "
    "Later=https://later.example/{1457067967/0} Undated=https://undated.example/ ] ]\n"
    "Links without a usable address skipped: 1 (No address)\n"
    "Entries of an unknown kind or place skipped: 1 (Odd)";

TEST(SafariReader, EachFixtureReadsAsOneWholeTree) {
    const std::pair<const char*, std::string> cases[] = {
        // History's proxy is passed over, the built-in lists get Safari's
        // names, the Reading List keeps its dates.
        {"nested-binary.plist", kNested},
        {"nested-xml.plist", kNested},
        // Without WebBookmarkType lists are known by Children, leaves by
        // URLString.
        {"untyped-xml.plist", "Safari root[ Reading List[ Page 1=https://example.com/page1 ] "
                              "Loose[ =https://loose.example/ ] ]"},
        {"reading-list-without-children.plist",
         "Safari root[ Favorites*[ Bing=https://www.bing.com/ ] Bookmarks Menu[ ] "
         "Reading List[ ] ]"},
        {"root-without-children.plist", "Safari root[ ]"},
        {"array-at-top.plist", "unreadable: not a Safari Bookmarks.plist"},
        {"make_fixtures.py", "unreadable: not a Safari Bookmarks.plist"},
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(test::LoadedStoreText({StoreKind::Safari, Fixture(file)}), expected);
    }
}

TEST(SafariReader, AFolderIsReadThroughItsBookmarksPlist) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "Safari");
    fs::copy_file(Fixture("nested-binary.plist"), dir.path() / "Safari" / "Bookmarks.plist");
    EXPECT_EQ(test::LoadedStoreText({StoreKind::Safari, dir / "Safari"}), kNested);
}

TEST(SafariReader, ATruncatedBinaryListIsUnreadable) {
    test::TempDir dir;
    auto whole = test::ReadFile(Fixture("nested-binary.plist"));
    for (std::size_t length : {std::size_t{8}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(length);
        test::WriteFile(dir.path() / "Bookmarks.plist", whole.substr(0, length));
        EXPECT_EQ(test::LoadedStoreText({StoreKind::Safari, dir / "Bookmarks.plist"}),
                  "unreadable: not a Safari Bookmarks.plist");
    }
}

// Every file of the shared corpus reads with the counts its listing gives,
// and what reading left out.
TEST(SafariCorpus, EveryFileReadsWithItsCounts) {
    if (test::CorpusDir().empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    const std::pair<const char*, std::string> cases[] = {
        // The 13 folders of its own, Favorites, Bookmarks Menu and Reading
        // List.
        {"safari9-2016-nested-readinglist.plist", "16 folders, 234 links\n"},
        {"safari12-2019-default-empty-readinglist.plist", "3 folders, 4 links\n"},
        {"safari-2019-bar-only-no-readinglist.plist", "2 folders, 12 links\n"},
        {"safari-empty-root-with-sync.plist", "0 folders, 0 links\n"},
        {"handmade-xml-readinglist-no-types.plist", "1 folders, 2 links\n"},
    };
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file);
        StoreLocation source{StoreKind::Safari, (test::CorpusDir() / "safari" / file).string()};
        BookmarkTree tree;
        ASSERT_TRUE(LoadSourceTree(source, tree));
        auto text = test::ExportedCountText(tree);
        for (const auto& line : tree.ReadLosses.Lines()) {
            text += line + "\n";
        }
        EXPECT_EQ(text, expected);
    }
}

} // namespace
} // namespace tellavin
