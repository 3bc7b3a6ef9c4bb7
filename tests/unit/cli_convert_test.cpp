// The command line converting a Favorites folder into a Netscape-format
// file, in this process on a platform where no browser runs.
#include "support/fake_platform.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::RunCliHere;

std::string Samples() {
    return std::string("'favorites:") + TELLAVIN_SAMPLES + "/Favorites'";
}

std::string Target(const test::TempDir& dir, const std::string& name = "bookmarks.html") {
    return "'netscape:" + (dir / name) + "'";
}

TEST(ConvertCommand, FavoritesToANewBookmarkFileReadsBackTheSameTree) {
    test::TempDir dir;
    auto run = RunCliHere("convert " + Samples() + " " + Target(dir) + " --profile Ann");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "5 Folders & 7 Links Exported Successfully.\n");
    EXPECT_EQ(run.err, "");

    auto count = RunCliHere("count " + Target(dir));
    EXPECT_EQ(count.out, "5 folders, 7 links\n");
    auto favorites = RunCliHere("tree " + Samples());
    auto netscape = RunCliHere("tree " + Target(dir));
    EXPECT_EQ(netscape.status, 0);
    ASSERT_EQ(favorites.out.substr(0, 14), "My Favorites/\n");
    EXPECT_EQ(netscape.out, "Bookmarks for Ann/\n" + favorites.out.substr(14));
}

TEST(ConvertCommand, TheProfileDefaultsToTheUserName) {
    test::TempDir dir;
    ASSERT_EQ(RunCliHere("convert " + Samples() + " " + Target(dir)).status, 0);
    EXPECT_NE(
        test::ReadFile(dir.path() / "bookmarks.html").find("<TITLE>Bookmarks for ann</TITLE>"),
        std::string::npos);
}

TEST(ConvertCommand, MergeIntoANewFolderWithLinksFirstAndABackup) {
    test::TempDir dir;
    ASSERT_EQ(RunCliHere("convert " + Samples() + " " + Target(dir) + " --profile Ann").status, 0);
    auto before = test::ReadFile(dir.path() / "bookmarks.html");
    auto run = RunCliHere("convert " + Samples() + " " + Target(dir) +
                          " --merge --new-folder 'From IE' --links-first --backup");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "5 Folders & 7 Links Exported Successfully.\n");
    EXPECT_EQ(test::ReadFile(dir.path() / "Backup_of_bookmarks.html"), before);

    auto count = RunCliHere("count " + Target(dir));
    EXPECT_EQ(count.out, "11 folders, 14 links\n");
    auto after = test::ReadFile(dir.path() / "bookmarks.html");
    // The old file stays whole around the export, which goes just before the
    // tag that closes its root list.
    auto rootEnd = before.rfind("</DL><p>\r\n");
    EXPECT_EQ(after.substr(0, rootEnd), before.substr(0, rootEnd));
    EXPECT_EQ(after.substr(after.size() - (before.size() - rootEnd)), before.substr(rootEnd));
    // Inside the new folder the root's links come before its sub-folders.
    auto added = after.substr(after.find("From IE</H3>"));
    EXPECT_LT(added.find(">Search</A>"), added.find(">News</H3>"));
}

TEST(ConvertCommand, RefusalsAndErrorsGoToStandardErrorWithAnExitStatus) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "notes.html", "no list here\n");
    auto merge = RunCliHere("convert " + Samples() + " " + Target(dir, "notes.html") + " --merge");
    EXPECT_EQ(merge.status, 1);
    EXPECT_EQ(merge.out, "");
    EXPECT_NE(merge.err.find("notes.html"), std::string::npos);
    EXPECT_EQ(test::ReadFile(dir.path() / "notes.html"), "no list here\n");

    auto missing = RunCliHere("convert 'favorites:" + (dir / "none") + "' " + Target(dir));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tellavin-cli: Selected Folder Does Not Exist\n"
                           "  The Selected Folder Does Not Exist.\n"
                           "  Please, Select Another Folder.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bookmarks.html"));

    auto sameKind = RunCliHere("convert " + Target(dir, "a.html") + " " + Target(dir, "b.html"));
    EXPECT_EQ(sameKind.status, 2);
    EXPECT_EQ(sameKind.err, "tellavin-cli: there is no conversion from a Netscape-format file to a "
                            "Netscape-format file\n");

    auto unknown = RunCliHere("convert " + Samples() + " 'chrome:x'");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("not a store: \"chrome:x\""), std::string::npos);

    auto unwritable = RunCliHere("convert " + Samples() + " " + Target(dir, "no/such/b.html"));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "tellavin-cli: Warning\n  " + (dir / "no/such/b.html") +
                                  "\n  The Path of the Selected Bookmark File Does Not Exists.\n"
                                  "  Please, Select Another Destination.\n");
}

TEST(ConvertCommand, RefusedForAReadOnlyTargetOrOneThatIsGone) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "bookmarks.html", "old\n");
    fs::permissions(dir.path() / "bookmarks.html",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto readOnly = RunCliHere("convert " + Samples() + " " + Target(dir) + " --backup");
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.out, "");
    EXPECT_EQ(readOnly.err, "tellavin-cli: Read-Only Bookmark File\n"
                            "  The Selected Bookmark File is Read-Only.\n"
                            "  Please, Select Another Bookmark File or Change Attribute.\n");
    EXPECT_EQ(test::ReadFile(dir.path() / "bookmarks.html"), "old\n");
    EXPECT_FALSE(fs::exists(dir.path() / "Backup_of_bookmarks.html"));

    auto gone = RunCliHere("convert " + Samples() + " " + Target(dir, "gone.html") + " --merge");
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.err, "tellavin-cli: Bookmark File Does Not Exist\n"
                        "  The Selected Bookmark File Does Not Exist Anymore.\n"
                        "  Please, Select Another Bookmark File.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "gone.html"));
}

TEST(ConvertCommand, RefusedWhileTheTargetsBrowserRuns) {
    test::TempDir dir;
    test::FakePlatform firefoxRuns;
    firefoxRuns.executablePath = dir / "tellavin-cli";
    firefoxRuns.processNames = {{"/usr/lib/firefox/firefox"}};
    // The target lies in a Firefox profile folder; a file elsewhere is
    // written while Firefox runs.
    test::WriteFile(dir.path() / "profile/prefs.js", "");
    auto elsewhere = test::RunCliWith("convert " + Samples() + " " + Target(dir), firefoxRuns);
    EXPECT_EQ(elsewhere.status, 0) << elsewhere.err;
    EXPECT_EQ(elsewhere.out, "5 Folders & 7 Links Exported Successfully.\n");
    auto run = test::RunCliWith(
        "convert " + Samples() + " " + Target(dir, "profile/bookmarks.html"), firefoxRuns);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tellavin-cli: Firefox is running\n"
                       "  The Firefox browser appears to be running.\n"
                       "  In order to export the bookmarks to Firefox,\n"
                       "  it is necessary to close all the Firefox browsers.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "profile/bookmarks.html"));
}

TEST(ConvertCommand, AFileWrittenIntoAFirefoxProfileTellsHowToImportIt) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "profile/prefs.js", "");
    auto run = RunCliHere("convert " + Samples() + " " + Target(dir, "profile/bookmarks.html"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "5 Folders & 7 Links Exported Successfully.\n"
                       "Firefox does not read this file on its own. To bring the bookmarks in,\n"
                       "open Bookmarks > Manage Bookmarks in Firefox and choose\n"
                       "Import and Backup > Import Bookmarks from HTML...\n");
}

} // namespace
} // namespace tellavin
