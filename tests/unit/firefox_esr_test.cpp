// Debian's Firefox ESR imports a bookmark file into a fresh headless
// profile and exports it again on shutdown; the profile's places.sqlite
// must read as the same tree as Firefox's own export of it: the same
// order, separators, dates and toolbar folder. A file written with the
// source's order kept must import with that order, its separators, dates
// and toolbar, and with its links' keywords and tags.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/firefox_esr.h"
#include "support/message_text.h"
#include "support/ordered_tree.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "targets/netscape_writer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <utility>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

using test::kFirefoxEsr;

// A profile that imports a copy of the given file at start-up and writes
// it again from the database at shutdown.
void PrepareProfile(const fs::path& profile, const fs::path& bookmarks) {
    test::WriteFirefoxPrefs(profile, true);
    fs::copy_file(bookmarks, profile / "bookmarks.html");
}

std::string TreeOf(const std::string& path, BookmarkCounts& counts) {
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree({StoreKind::Netscape, path}, tree)) << path;
    auto counted = CountSource({StoreKind::Netscape, path});
    counts = counted.read ? counted.counts : BookmarkCounts{-1, -1};
    return test::OrderedTreeText(tree);
}

TEST(FirefoxEsr, TheDatabaseReadsAsFirefoxsOwnExportOfIt) {
    if (!fs::exists(kFirefoxEsr)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefoxEsr << ")";
    }
    test::TempDir dir;
    auto profile = dir.path() / "profile";
    PrepareProfile(profile, fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-import.html");
    ASSERT_TRUE(test::RunFirefoxEsr(dir, profile));
    auto exported = test::ReadFile(profile / "bookmarks.html");
    // Firefox's own export starts with its generated-file comment; the
    // imported file has none.
    ASSERT_NE(exported.find("automatically generated file"), std::string::npos) << exported;

    BookmarkCounts fromDatabase;
    BookmarkCounts fromExport;
    auto database = TreeOf((profile / "places.sqlite").string(), fromDatabase);
    EXPECT_EQ(database, TreeOf((profile / "bookmarks.html").string(), fromExport));
    EXPECT_EQ(fromDatabase.folders, fromExport.folders);
    EXPECT_EQ(fromDatabase.links, fromExport.links);
    EXPECT_NE(database.find("Tools["), std::string::npos) << database;
    EXPECT_NE(database.find("http://example.jp/{1600000200/1600000300}"), std::string::npos)
        << database;
}

// A hotlist with separators, dates and a toolbar folder (last, where
// Firefox puts its toolbar), written with its order kept and imported: the
// profile's database holds the hotlist's tree. Firefox stamps its own change
// dates on import, so those are left out.
TEST(FirefoxEsr, AFileWrittenInTheSourcesOrderImportsWithThatOrder) {
    if (!fs::exists(kFirefoxEsr)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefoxEsr << ")";
    }
    test::TempDir dir;
    const auto hotlist = fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-keeps-order.adr";
    auto written = dir / "written.html";
    auto run = test::RunCliHere("convert --keep-order --quiet 'opera:" + hotlist.string() +
                                "' 'netscape:" + written + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    auto profile = dir.path() / "profile";
    PrepareProfile(profile, written);
    ASSERT_TRUE(test::RunFirefoxEsr(dir, profile));

    BookmarkTree source;
    ASSERT_TRUE(LoadSourceTree({StoreKind::Opera, hotlist.string()}, source));
    BookmarkTree imported;
    ASSERT_TRUE(
        LoadSourceTree({StoreKind::Netscape, (profile / "places.sqlite").string()}, imported));
    EXPECT_EQ(test::OrderedTreeText(imported, false), test::OrderedTreeText(source, false));
}

// A hotlist's keywords and a bookmark file's tags, written by the
// Netscape-format writer and imported: Firefox's database holds them for the same links,
// and the two links of one name keep it.
TEST(FirefoxEsr, KeywordsAndTagsWrittenToABookmarkFileImportIntoFirefox) {
    if (!fs::exists(kFirefoxEsr)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefoxEsr << ")";
    }
    const std::pair<StoreKind, const char*> sources[] = {
        {StoreKind::Opera, "firefox-keywords.adr"},
        {StoreKind::Netscape, "firefox-tags.html"},
    };
    for (const auto& [kind, fixture] : sources) {
        SCOPED_TRACE(fixture);
        test::TempDir dir;
        const auto path = fs::path(TELLAVIN_TEST_DATA) / "browsers" / fixture;
        BookmarkTree source;
        ASSERT_TRUE(LoadSourceTree({kind, path.string()}, source));
        WriteOptions options;
        options.keepOrder = true;
        auto written = dir / "written.html";
        ASSERT_TRUE(PrintBookmarkFile(source, written, options, test::NoProgress()).Complete());
        auto profile = dir.path() / "profile";
        PrepareProfile(profile, written);
        ASSERT_TRUE(test::RunFirefoxEsr(dir, profile));

        BookmarkTree imported;
        ASSERT_TRUE(
            LoadSourceTree({StoreKind::Netscape, (profile / "places.sqlite").string()}, imported));
        EXPECT_EQ(test::OrderedTreeText(imported, false, true),
                  test::OrderedTreeText(source, false, true));
    }
}

} // namespace
} // namespace tellavin
