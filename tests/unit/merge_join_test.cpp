// Merging into a store that holds bookmarks already: a folder of the same
// path of names is joined, a link whose address its folder holds already
// is left out, on every store an export adds to; keeping duplicates adds
// everything as it comes.
#include "model/file_tree_builder.h"
#include "sources/source_loader.h"
#include "support/canonical_tree.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/chromium_writer.h"
#include "targets/favorites_writer.h"
#include "targets/firefox_places_writer.h"
#include "targets/merge_plan.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// The store the target already is: News holds example.com and its page
// "a"; a folder Deep at the top; Other holds a News of its own.
void BuildTarget(BookmarkTree& tree) {
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.BeginFolder("News");
    builder.AddLink("Existing", "http://example.com/");
    builder.AddLink("Page", "http://example.com/a");
    builder.EndFolder();
    builder.BeginFolder("Deep");
    builder.AddLink("Old", "http://deep.org/");
    builder.EndFolder();
    builder.BeginFolder("Other");
    builder.BeginFolder("News");
    builder.EndFolder();
    builder.EndFolder();
    builder.Finish();
}

// The export: News with example.com written as no browser tells apart
// (upper case, the default port) and three addresses that differ in what
// counts (a query, a fragment, a trailing "/"), and News\Deep, whose name
// the target has at the top level only.
void BuildExport(BookmarkTree& tree) {
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.AddLink("Top", "http://top.org/");
    builder.BeginFolder("News");
    builder.AddLink("Same", "HTTP://Example.COM:80");
    builder.AddLink("Query", "http://example.com/?q=1");
    builder.AddLink("Fragment", "http://example.com/#f");
    builder.AddLink("Trailing", "http://example.com/a/");
    builder.BeginFolder("Deep");
    builder.AddLink("Inner", "http://deep.org/");
    builder.EndFolder();
    builder.EndFolder();
    builder.Finish();
}

// A mergeable target: where it is made and how it is written into.
struct Store {
    const char* name;
    StoreKind kind;
    std::function<ExportResult(BookmarkTree&, const std::string&, WriteOptions)> write;
    const char* file; // inside the test's folder
};

const Store kStores[] = {
    {"Netscape", StoreKind::Netscape,
     [](BookmarkTree& tree, const std::string& path, WriteOptions options) {
         return PrintBookmarkFile(tree, path, options, test::NoProgress());
     },
     "b.html"},
    {"Opera", StoreKind::Opera,
     [](BookmarkTree& tree, const std::string& path, WriteOptions options) {
         return PrintHotlistFile(tree, path, options, test::NoProgress());
     },
     "b.adr"},
    {"Favorites", StoreKind::Favorites,
     [](BookmarkTree& tree, const std::string& path, WriteOptions options) {
         // A Favorites folder is always added to.
         options.merge = false;
         return ExportToFavorites(tree, path, options, test::NoProgress());
     },
     "Fav"},
    {"Chromium", StoreKind::Chromium,
     [](BookmarkTree& tree, const std::string& path, WriteOptions options) {
         // A browser's store is always added to.
         options.merge = false;
         return WriteChromiumBookmarks(tree, ChromiumBookmarksOf(path), options, 1'800'000'000,
                                       test::NoProgress());
     },
     "Default"},
    {"Firefox", StoreKind::Firefox,
     [](BookmarkTree& tree, const std::string& path, WriteOptions options) {
         // Into the bookmarks menu, whose items a Firefox tree shows at its
         // top level.
         options.merge = false;
         options.place = BrowserRoot::Menu;
         return WriteFirefoxPlaces(tree, path, options, 1'800'000'000, test::NoProgress());
     },
     "profile/places.sqlite"},
};

class Merging : public ::testing::Test {
protected:
    // Makes the target with BuildTarget's bookmarks.
    std::string MakeTarget(const Store& store) {
        auto path = dir_ / store.file;
        if (store.kind == StoreKind::Favorites || store.kind == StoreKind::Chromium) {
            fs::create_directory(path);
        } else if (store.kind == StoreKind::Firefox) {
            fs::create_directory(fs::path(path).parent_path());
            fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-86-empty.sqlite",
                          path);
        }
        BookmarkTree target;
        BuildTarget(target);
        auto made = store.write(target, path, {});
        EXPECT_TRUE(made.ok) << test::MessageText(made.message);
        return path;
    }

    // Merges the export and tells what was written, left out and joined.
    static std::string Merge(const Store& store, const std::string& path, WriteOptions options) {
        BookmarkTree exported;
        BuildExport(exported);
        options.merge = true;
        auto result = store.write(exported, path, options);
        if (!result.ok) {
            return "refused: " + test::MessageText(result.message);
        }
        return std::to_string(result.nFoldersWritten) + " folders " +
               std::to_string(result.nLinksWritten) + " links, " + result.MergeSummary();
    }

    // The tree read back; a browser's empty bookmarks bar beside the other
    // bookmarks, which its tree shows at the top, is left out.
    static std::string ReadBack(const Store& store, const std::string& path) {
        BookmarkTree tree;
        LoadSourceTree({store.kind, path}, tree);
        auto text = test::CanonicalTreeText(tree);
        if (auto bar = text.find(" Bookmarks bar[ ]"); store.kind == StoreKind::Chromium) {
            text.erase(bar, 17);
        }
        return text;
    }

    test::TempDir dir_;
};

// The tree after one merge: Same is left out, the other three addresses of
// News are added, News\Deep is a folder of its own beside the top-level
// Deep, and Other\News is untouched.
constexpr const char* kMergedOnce =
    "root[ Top=http://top.org/ Deep[ Old=http://deep.org/ ] News[ "
    "Existing=http://example.com/ Fragment=http://example.com/#f Page=http://example.com/a "
    "Query=http://example.com/?q=1 Trailing=http://example.com/a/ Deep[ "
    "Inner=http://deep.org/ ] ] Other[ News[ ] ] ]";

TEST_F(Merging, MergingTwiceEqualsMergingOnceOnEveryMergeableTarget) {
    for (const auto& store : kStores) {
        SCOPED_TRACE(store.name);
        auto path = MakeTarget(store);
        auto once = Merge(store, path, {});
        auto treeOnce = ReadBack(store, path);
        auto twice = Merge(store, path, {});
        EXPECT_EQ(once + " | " + treeOnce + " | " + twice + " | " + ReadBack(store, path),
                  std::string("1 folders 5 links, 1 link already there was skipped; 1 folder was "
                              "joined | ") +
                      kMergedOnce +
                      " | 0 folders 0 links, 6 links already there were skipped; 2 folders "
                      "were joined | " +
                      kMergedOnce);
    }
}

TEST_F(Merging, TheNewFolderItselfIsJoinedTheSecondTime) {
    for (const auto& store : kStores) {
        SCOPED_TRACE(store.name);
        auto path = MakeTarget(store);
        WriteOptions options;
        options.newFolder = "From IE";
        auto once = Merge(store, path, options);
        auto twice = Merge(store, path, options);
        EXPECT_EQ(once + " | " + twice + " | " + ReadBack(store, path),
                  "2 folders 6 links,  | 0 folders 0 links, 6 links already there were skipped; "
                  "3 folders were joined | root[ Deep[ Old=http://deep.org/ ] From IE[ "
                  "Top=http://top.org/ News[ Fragment=http://example.com/#f "
                  "Query=http://example.com/?q=1 Same=HTTP://Example.COM:80 "
                  "Trailing=http://example.com/a/ Deep[ Inner=http://deep.org/ ] ] ] News[ "
                  "Existing=http://example.com/ Page=http://example.com/a ] Other[ News[ ] ] ]");
    }
}

// Keeping duplicates is the merge as it always was: a bookmark file, a
// hotlist or a browser's store takes the export beside what it holds (the
// names that then come twice stay as they are), a Favorites folder uses
// its directories of the same name and replaces only shortcuts of the same
// name.
TEST_F(Merging, KeepingDuplicatesAddsEverythingAsBefore) {
    const char* const beside =
        "2 folders 6 links,  | root[ Top=http://top.org/ Deep[ Old=http://deep.org/ ] "
        "News[ Existing=http://example.com/ Page=http://example.com/a ] News[ "
        "Fragment=http://example.com/#f Query=http://example.com/?q=1 "
        "Same=HTTP://Example.COM:80 Trailing=http://example.com/a/ Deep[ "
        "Inner=http://deep.org/ ] ] Other[ News[ ] ] ]";
    const char* const expected[] = {
        beside,
        beside,
        "2 folders 6 links,  | root[ Top=http://top.org/ Deep[ Old=http://deep.org/ ] News[ "
        "Existing=http://example.com/ Fragment=http://example.com/#f Page=http://example.com/a "
        "Query=http://example.com/?q=1 Same=HTTP://Example.COM:80 "
        "Trailing=http://example.com/a/ Deep[ Inner=http://deep.org/ ] ] Other[ News[ ] ] ]",
        beside,
        beside,
    };
    for (std::size_t i = 0; i < std::size(kStores); ++i) {
        const auto& store = kStores[i];
        SCOPED_TRACE(store.name);
        auto path = MakeTarget(store);
        WriteOptions options;
        options.keepDuplicates = true;
        auto merged = Merge(store, path, options);
        EXPECT_EQ(merged + " | " + ReadBack(store, path), expected[i]);
    }
}

// A bookmark file written by hand, with LF line ends: a joined folder's new
// lines go inside its own list, at the start of the line of its "</DL>",
// indented as its own; a heading without a list cannot be added to, so the
// export's folder of that name goes beside it.
TEST(NetscapeMerge, JoinedFoldersTakeTheirLinesInsideTheirOwnList) {
    test::TempDir dir;
    auto path = dir / "b.html";
    test::WriteFile(path,
                    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                    "<DL><p>\n"
                    "  <DT><H3>News</H3>\n"
                    "  <DL><p>\n"
                    "    <DT><A HREF=\"http://a.org/\">A</A>\n"
                    "  </DL><p>\n"
                    "  <DT><H3>Empty</H3>\n"
                    "</DL>\n");
    BookmarkTree exported;
    FileTreeBuilder builder(exported, StoreKind::Netscape);
    builder.BeginFolder("News");
    builder.AddLink("A again", "http://A.org");
    builder.AddLink("B", "http://b.org/");
    builder.EndFolder();
    builder.BeginFolder("Empty");
    builder.AddLink("C", "http://c.org/");
    builder.EndFolder();
    builder.Finish();
    WriteOptions options;
    options.merge = true;
    auto result = PrintBookmarkFile(exported, path, options, test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_EQ(result.MergeSummary() + "\n" + test::ReadFile(path),
              "1 link already there was skipped; 1 folder was joined\n"
              "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
              "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
              "<DL><p>\n"
              "  <DT><H3>News</H3>\n"
              "  <DL><p>\n"
              "    <DT><A HREF=\"http://a.org/\">A</A>\n"
              "        <DT><A HREF=\"http://b.org/\">B</A>\r\n"
              "  </DL><p>\n"
              "  <DT><H3>Empty</H3>\n"
              "    <DT><H3 FOLDED ADD_DATE=\"\">Empty</H3>\r\n"
              "    <DL><p>\r\n"
              "        <DT><A HREF=\"http://c.org/\">C</A>\r\n"
              "    </DL><p>\r\n"
              "</DL>\n");
}

// The check that the merged file reads back whole covers what goes into a
// joined folder: a link added after a heading without a list would be
// read as that heading's folder's, so the merge is refused and the file
// left as it was.
TEST(NetscapeMerge, ALinkThatWouldLandInAnotherFolderIsRefused) {
    test::TempDir dir;
    auto path = dir / "b.html";
    const std::string old = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                            "<DT><H3>News</H3>\n<DL><p>\n<DT><H3>Empty</H3>\n</DL><p>\n</DL>\n";
    test::WriteFile(path, old);
    BookmarkTree exported;
    FileTreeBuilder builder(exported, StoreKind::Netscape);
    builder.BeginFolder("News");
    builder.AddLink("B", "http://b.org/");
    builder.EndFolder();
    builder.Finish();
    WriteOptions options;
    options.merge = true;
    auto result = PrintBookmarkFile(exported, path, options, test::NoProgress());
    EXPECT_EQ(test::MessageText(result.message) + "\n" + test::ReadFile(path),
              "Cannot merge into \"" + path +
                  "\":\nits bookmark lists are not closed as a bookmark file's are, so the "
                  "merged file would not read back whole. The file was left unchanged.\n" +
                  old);
}

// The top level of an export whose root is not checked is its checked
// folders, which join the target's folders of their names.
TEST(NetscapeMerge, ACheckedFolderUnderAnUncheckedRootIsJoined) {
    test::TempDir dir;
    auto path = dir / "b.html";
    BookmarkTree target;
    BuildTarget(target);
    ASSERT_TRUE(PrintBookmarkFile(target, path, {}, test::NoProgress()).ok);
    BookmarkTree exported;
    BuildExport(exported);
    exported.Node(exported.Node(0).children.at(0)).Checked = true; // News
    for (auto& row : exported.EntryTable) {
        row.bChecked = true;
    }
    WriteOptions options;
    options.merge = true;
    options.exportAll = false;
    auto result = PrintBookmarkFile(exported, path, options, test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    BookmarkTree readBack;
    LoadSourceTree({StoreKind::Netscape, path}, readBack);
    EXPECT_EQ(result.MergeSummary() + " | " + test::CanonicalTreeText(readBack),
              "1 link already there was skipped; 1 folder was joined | root[ Deep[ "
              "Old=http://deep.org/ ] News[ Existing=http://example.com/ "
              "Fragment=http://example.com/#f Page=http://example.com/a "
              "Query=http://example.com/?q=1 Trailing=http://example.com/a/ ] Other[ News[ ] ] ]");
}

// A hotlist's trash holds deleted entries: an export's folder of its name
// is written beside it, not into it.
TEST(HotlistMerge, TheTrashIsNeverJoined) {
    test::TempDir dir;
    auto path = dir / "b.adr";
    const std::string old = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n"
                            "#FOLDER\r\n\tNAME=Trash\r\n\tTRASH FOLDER=YES\r\n\r\n"
                            "#URL\r\n\tNAME=Gone\r\n\tURL=http://gone.org/\r\n\r\n-\r\n";
    test::WriteFile(path, old);
    BookmarkTree exported;
    FileTreeBuilder builder(exported, StoreKind::Netscape);
    builder.BeginFolder("Trash");
    builder.AddLink("Gone", "http://gone.org/");
    builder.EndFolder();
    builder.Finish();
    WriteOptions options;
    options.merge = true;
    auto result = PrintHotlistFile(exported, path, options, test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_EQ(result.MergeSummary() + test::ReadFile(path),
              old + "#FOLDER\r\n    NAME=Trash\r\n    ORDER = -1 \r\n\r\n"
                    "#URL\r\n    NAME=Gone\r\n    URL=http://gone.org/\r\n    ORDER =  0 "
                    "\r\n\r\n-\r\n");
}

TEST(NormalizedAddress, OnlyWhatNoBrowserTellsApartIsIgnored) {
    struct Row {
        const char* a;
        const char* b;
        bool same;
    };
    const Row rows[] = {
        {"HTTP://Example.COM/x", "http://example.com/x", true},
        {"http://example.com", "http://example.com/", true},
        {"http://example.com:80/x", "http://example.com/x", true},
        {"https://example.com:443", "https://example.com/", true},
        {"ftp://Files.org:21/a", "ftp://files.org/a", true},
        {"http://[::1]:80/", "http://[::1]/", true},
        {"mailto:ann@example.com", "MAILTO:ann@example.com", true},
        {"http://User@Example.com", "http://User@example.com/", true},
        {"https://example.com:80/", "https://example.com/", false},
        {"http://example.com:8080/", "http://example.com/", false},
        {"http://example.com/?q=1", "http://example.com/", false},
        {"http://example.com/#top", "http://example.com/", false},
        {"http://example.com/a/", "http://example.com/a", false},
        {"http://example.com/A", "http://example.com/a", false},
        {"http://user@example.com/", "http://USER@example.com/", false},
        {"mailto:Ann@example.com", "mailto:ann@example.com", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(NormalizedAddress(row.a) == NormalizedAddress(row.b), row.same)
            << row.a << " / " << row.b;
    }
}

} // namespace
} // namespace tellavin
