// The command line converting a Favorites folder into a Netscape-format
// file, in this process on a platform where no browser runs.
#include "support/fake_platform.h"
#include "support/listing.h"
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

TEST(ConvertCommand, AMergeSkipsWhatIsThereUnlessDuplicatesAreKept) {
    test::TempDir dir;
    ASSERT_EQ(RunCliHere("convert " + Samples() + " " + Target(dir)).status, 0);
    auto again = RunCliHere("convert " + Samples() + " " + Target(dir) + " --merge -q");
    auto countAgain = RunCliHere("count " + Target(dir));
    auto kept =
        RunCliHere("convert " + Samples() + " " + Target(dir) + " --merge --keep-duplicates -q");
    auto countKept = RunCliHere("count " + Target(dir));
    EXPECT_EQ(again.out + countAgain.out + kept.out + countKept.out,
              "0 Folders & 0 Links Exported Successfully.\n"
              "7 links already there were skipped; 5 folders were joined.\n"
              "5 folders, 7 links\n"
              "5 Folders & 7 Links Exported Successfully.\n"
              "10 folders, 14 links\n");
}

// Each refusal is one line naming the path it concerns, and its kind sets
// the exit status: 2 for a request that cannot be carried out as asked, 1
// for what the state of the machine refused or what failed. Nothing is
// written to standard output.
TEST(ConvertCommand, EachRefusalNamesItsPathAndExitsByItsKind) {
    test::TempDir dir;
    test::FakePlatform firefoxRuns;
    firefoxRuns.executablePath = dir / "tellavin-cli";
    firefoxRuns.processNames = {{"/usr/lib/firefox/firefox"}};
    test::WriteFile(dir.path() / "profile/prefs.js", "");
    test::WriteFile(dir.path() / "a.html", "<DL><p><DT><A HREF=\"http://a/\">A</A></DL><p>\n");
    test::WriteFile(dir.path() / "page.html", "<p>not a hotlist</p>\n");
    test::WriteFile(dir.path() / "readonly.html", "old\n");
    fs::permissions(dir.path() / "readonly.html", fs::perms::owner_read);
    fs::create_directories(dir.path() / "Fav");
    struct Row {
        std::string arguments;
        int status;
        std::string err;
    };
    const Row rows[] = {
        {"convert 'favorites:" + (dir / "none") + "' " + Target(dir), 1,
         dir / "none" + ": does not exist"},
        {"convert 'netscape:" + (dir / "nothere.html") + "' 'opera:" + (dir / "x.adr") + "'", 1,
         dir / "nothere.html" + ": does not exist"},
        {"convert 'opera:" + (dir / "page.html") + "' " + Target(dir), 1,
         dir / "page.html" + ": holds no folder and no link: not an Opera hotlist"},
        {"convert " + Target(dir, "a.html") + " '" + (dir / "./a.html") + "' --merge", 2,
         dir / "./a.html" + ": is the source itself; choose another target"},
        {"convert " + Samples() + " " + Target(dir) + " --merge --existing-folder Links", 2,
         dir / "bookmarks.html" + ": --existing-folder does not apply to a Netscape-format file"},
        {"convert " + Samples() + " " + Target(dir) + " --place bar", 2,
         dir / "bookmarks.html" + ": --place does not apply to a Netscape-format file"},
        {"menu " + Target(dir, "a.html") + " '" + (dir / "./a.html") + "'", 2,
         dir / "./a.html" + ": is the source itself; choose another target"},
        {"convert " + Samples() + " " + Target(dir, "no/such/b.html"), 1,
         dir / "no/such/b.html" + ": the folder to write into does not exist"},
        {"convert " + Samples() + " " + Target(dir, "readonly.html") + " --backup", 1,
         dir / "readonly.html" + ": is read-only"},
        {"convert " + Samples() + " " + Target(dir, "gone.html") + " --merge", 1,
         dir / "gone.html" + ": does not exist, so nothing can be merged into it"},
        {"convert " + Samples() + " " + Target(dir, "profile/bookmarks.html"), 1,
         dir / "profile/bookmarks.html" +
             ": lies in Firefox's own folders and Firefox is running; close it and try again"},
        {"convert " + Samples() + " 'chromium:" + (dir / "profile") + "' --place menu", 2,
         dir / "profile" + ": --place menu does not apply to a Chromium-family profile"},
    };
    for (const auto& row : rows) {
        auto run = test::RunCliWith(row.arguments, firefoxRuns);
        EXPECT_EQ(run.status, row.status) << row.arguments;
        EXPECT_EQ(run.out, "") << row.arguments;
        EXPECT_EQ(run.err, "tellavin-cli: " + row.err + "\n") << row.arguments;
    }
    EXPECT_EQ(test::ReadFile(dir.path() / "readonly.html"), "old\n");
    EXPECT_EQ(test::Listing(dir.path()),
              (std::vector<std::string>{"Fav/", "a.html", "page.html", "profile/",
                                        "profile/prefs.js", "readonly.html"}));
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
