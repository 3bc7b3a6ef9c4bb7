// Debian's Firefox ESR imports a bookmark file into a fresh headless
// profile and exports it again on shutdown; the profile's places.sqlite
// must read as the same tree as Firefox's own export of it: the same
// order, separators, dates and toolbar folder. A file written with the
// source's order kept must import with that order, its separators, dates
// and toolbar.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/ordered_tree.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFirefox = "/usr/bin/firefox-esr";

// Prefs that import the profile's bookmarks.html (a copy of the given
// file) at start-up and write it again from the database at shutdown; a
// page that closes the only window after the import makes Firefox quit on
// its own.
void PrepareProfile(const fs::path& profile, const fs::path& page, const fs::path& bookmarks) {
    auto file = (profile / "bookmarks.html").string();
    test::WriteFile(profile / "user.js",
                    "user_pref(\"browser.places.importBookmarksHTML\", true);\n"
                    "user_pref(\"browser.bookmarks.autoExportHTML\", true);\n"
                    "user_pref(\"browser.bookmarks.file\", \"" +
                        file +
                        "\");\n"
                        "user_pref(\"dom.allow_scripts_to_close_windows\", true);\n"
                        "user_pref(\"browser.shell.checkDefaultBrowser\", false);\n"
                        "user_pref(\"app.update.disabledForTesting\", true);\n"
                        "user_pref(\"datareporting.policy.dataSubmissionEnabled\", false);\n");
    fs::copy_file(bookmarks, file);
    test::WriteFile(page, "<script>setTimeout(function () { window.close(); }, 6000);</script>\n");
}

// Runs Firefox on the profile until it quits; false with its output when
// it failed.
::testing::AssertionResult RunFirefox(const test::TempDir& dir, const fs::path& profile,
                                      const fs::path& page) {
    auto command = "HOME='" + dir.path().string() + "' timeout 150 " + kFirefox +
                   " --headless --no-remote --profile '" + profile.string() + "' 'file://" +
                   page.string() + "' >'" + (dir / "firefox.log") + "' 2>&1";
    if (std::system(command.c_str()) != 0) {
        return ::testing::AssertionFailure() << test::ReadFile(dir.path() / "firefox.log");
    }
    return ::testing::AssertionSuccess();
}

std::string TreeOf(const std::string& path, BookmarkCounts& counts) {
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree({StoreKind::Netscape, path}, tree)) << path;
    auto counted = CountSource({StoreKind::Netscape, path});
    counts = counted.read ? counted.counts : BookmarkCounts{-1, -1};
    return test::OrderedTreeText(tree);
}

TEST(FirefoxEsr, TheDatabaseReadsAsFirefoxsOwnExportOfIt) {
    if (!fs::exists(kFirefox)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefox << ")";
    }
    test::TempDir dir;
    auto profile = dir.path() / "profile";
    auto page = dir.path() / "close.html";
    PrepareProfile(profile, page,
                   fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-import.html");
    ASSERT_TRUE(RunFirefox(dir, profile, page));
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
    if (!fs::exists(kFirefox)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefox << ")";
    }
    test::TempDir dir;
    const auto hotlist = fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-keeps-order.adr";
    auto written = dir / "written.html";
    auto run = test::RunCliHere("convert --keep-order --quiet 'opera:" + hotlist.string() +
                                "' 'netscape:" + written + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    auto profile = dir.path() / "profile";
    auto page = dir.path() / "close.html";
    PrepareProfile(profile, page, written);
    ASSERT_TRUE(RunFirefox(dir, profile, page));

    BookmarkTree source;
    ASSERT_TRUE(LoadSourceTree({StoreKind::Opera, hotlist.string()}, source));
    BookmarkTree imported;
    ASSERT_TRUE(
        LoadSourceTree({StoreKind::Netscape, (profile / "places.sqlite").string()}, imported));
    EXPECT_EQ(test::OrderedTreeText(imported, false), test::OrderedTreeText(source, false));
}

} // namespace
} // namespace tellavin
