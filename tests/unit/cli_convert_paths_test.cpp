// The command line, in this process, on the conversion paths into and out of Opera
// hotlists and into Favorites folders, with stores named by kind or by a
// bare path.
#include "sources/opera_reader.h"
#include "support/canonical_tree.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::RunCliHere;
using test::TempDir;
using test::WriteFile;

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string SampleFavorites() {
    return Quoted(std::string("favorites:") + TELLAVIN_SAMPLES + "/Favorites");
}
std::string SampleHotlist() {
    return Quoted(std::string(TELLAVIN_SAMPLES) + "/hotlist.adr");
}

// The tree command's output without its first line (the root's name, which
// each kind of store names its own way).
std::string TreeBelowRoot(const std::string& store) {
    auto run = RunCliHere("tree " + store);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out.substr(run.out.find('\n') + 1);
}

const std::string kHotlistTree =
    "  Tellavin project  <https://example.org/tellavin/>\n"
    "  Café & Cuisine/\n"
    "    Crème brûlée  <https://recipes.example.com/creme-brulee>\n"
    "  News/\n"
    "    Daily Planet  <https://news.example.com/daily>\n"
    "    Weather  <https://weather.example.com/?city=Z%C3%BCrich&days=5>\n"
    "  Trash/\n";
// What a conversion carries of it: the trash holds deleted entries.
const std::string kExportedHotlistTree = kHotlistTree.substr(0, kHotlistTree.find("  Trash/"));
// What a bookmark file cannot take of it: the separator of sorted output;
// its description and keyword it holds.
const std::string kHotlistLosses = "Not carried over:\n"
                                   "  Separators dropped: 1 (top level)\n"
                                   "  Trash folder and its deleted entries skipped: 1 "
                                   "(Trash)\n";

TEST(ConvertPaths, FavoritesToOperaAndBackIntoAFavoritesFolder) {
    TempDir dir;
    auto hotlist = Quoted("opera:" + (dir / "h.adr"));
    auto toOpera = RunCliHere("convert " + SampleFavorites() + " " + hotlist);
    EXPECT_EQ(toOpera.status, 0) << toOpera.err;
    // A hotlist has no place for a shortcut file's time, its change date,
    // nor for the icon a shortcut names.
    EXPECT_EQ(toOpera.out, "5 Folders & 7 Links Exported Successfully.\n"
                           "Not carried over:\n"
                           "  Change dates dropped: 7 (Crème brûlée, Daily Planet, Weather, ...)\n"
                           "  Icons dropped: 1 (Search)\n");
    EXPECT_EQ(TreeBelowRoot(hotlist), TreeBelowRoot(SampleFavorites()));

    fs::create_directories(dir.path() / "Fav");
    auto toFavorites = RunCliHere("convert " + Quoted(dir / "h.adr") + " " + Quoted(dir / "Fav"));
    EXPECT_EQ(toFavorites.status, 0) << toFavorites.err;
    EXPECT_EQ(toFavorites.out, "5 Folders & 7 Links Exported Successfully.\n");
    EXPECT_EQ(TreeBelowRoot(Quoted(dir / "Fav")), TreeBelowRoot(SampleFavorites()));
}

TEST(ConvertPaths, OperaToNetscapeToOperaWithBarePaths) {
    TempDir dir;
    EXPECT_EQ(TreeBelowRoot(SampleHotlist()), kHotlistTree);
    auto toNetscape = RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "b.html"));
    EXPECT_EQ(toNetscape.status, 0) << toNetscape.err;
    EXPECT_EQ(toNetscape.out, "2 Folders & 4 Links Exported Successfully.\n" + kHotlistLosses);
    EXPECT_EQ(TreeBelowRoot(Quoted(dir / "b.html")), kExportedHotlistTree);
    EXPECT_NE(ReadFile(dir.path() / "b.html").find("<!DOCTYPE NETSCAPE-Bookmark-file-1>"),
              std::string::npos);

    auto toOpera = RunCliHere("convert " + Quoted(dir / "b.html") + " " + Quoted(dir / "back.ADR"));
    EXPECT_EQ(toOpera.status, 0) << toOpera.err;
    EXPECT_EQ(ReadFile(dir.path() / "back.ADR").rfind("Opera Hotlist version 2.0\r\n", 0), 0u);
    EXPECT_EQ(TreeBelowRoot(Quoted(dir / "back.ADR")), kExportedHotlistTree);
}

TEST(ConvertPaths, NetscapeIntoFavoritesSubFolders) {
    TempDir dir;
    ASSERT_EQ(RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "b.htm")).status, 0);
    fs::create_directories(dir.path() / "Fav" / "Old" / "Deeper");

    auto newFolder =
        RunCliHere("convert " + Quoted(dir / "b.htm") + " " + Quoted("favorites:" + (dir / "Fav")) +
                   " --new-folder 'From FF: 1/2'");
    EXPECT_EQ(newFolder.status, 0) << newFolder.err;
    auto existing = RunCliHere("convert " + Quoted(dir / "b.htm") + " " + Quoted(dir / "Fav") +
                               " --existing-folder Old/Deeper");
    EXPECT_EQ(existing.status, 0) << existing.err;
    EXPECT_TRUE(fs::exists(dir.path() / "Fav/From FF- 1-2/News/Weather.URL"));
    EXPECT_TRUE(fs::exists(dir.path() / "Fav/Old/Deeper/News/Weather.URL"));
    EXPECT_EQ(RunCliHere("count " + Quoted(dir / "Fav")).out, "7 folders, 8 links\n");

    auto missing = RunCliHere("convert " + Quoted(dir / "b.htm") + " " + Quoted(dir / "Fav") +
                              " --existing-folder Gone");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tellavin-cli: " + (dir / "Fav/Gone") +
                               ": the sub-folder to export into does not exist\n");
    EXPECT_FALSE(fs::exists(dir.path() / "Fav/Gone"));
}

TEST(ConvertPaths, MergeIntoAHotlistWithNewFolderLinksFirstAndBackup) {
    TempDir dir;
    auto hotlist = Quoted(dir / "h.adr");
    ASSERT_EQ(RunCliHere("convert " + SampleFavorites() + " " + hotlist).status, 0);
    ASSERT_EQ(RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "b.html")).status, 0);
    auto before = ReadFile(dir.path() / "h.adr");
    auto merged = RunCliHere("convert " + Quoted(dir / "b.html") + " " + hotlist +
                             " --merge --new-folder Imported --links-first --backup");
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(ReadFile(dir.path() / "Backup_of_h.adr"), before);
    auto after = ReadFile(dir.path() / "h.adr");
    EXPECT_EQ(after.substr(0, before.size()), before);
    // The new folder opens with the root's links (links first).
    const std::string added = "#FOLDER\r\n    NAME=Imported\r\n    ORDER = -1 \r\n\r\n#URL";
    EXPECT_EQ(after.substr(before.size(), added.size()), added);
    EXPECT_EQ(RunCliHere("count " + hotlist).out, "8 folders, 11 links\n");
}

TEST(ConvertPaths, BarePathsAreRecognisedByContentThenByExtension) {
    TempDir dir;
    WriteFile(dir.path() / "hotlist.txt",
              "\xEF\xBB\xBFOpera Hotlist version 2.0\n\n#URL\n\tNAME=A\n\tURL=http://a/\n");
    EXPECT_EQ(RunCliHere("count " + Quoted(dir / "hotlist.txt")).out, "0 folders, 1 links\n");
    WriteFile(dir.path() / "pages.adr",
              "<DL><p>\n<DT><A HREF=\"http://a/\">A</A>\n<DT><A HREF=\"http://b/\">B</A>\n</DL>\n");
    EXPECT_EQ(RunCliHere("count " + Quoted(dir / "pages.adr")).out, "0 folders, 2 links\n");

    auto unknown = RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "new.txt"));
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("not a store: \"" + (dir / "new.txt") + "\""), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "new.txt"));
}

TEST(ConvertPaths, OptionsATargetHasNoUseForAreRefused) {
    TempDir dir;
    fs::create_directories(dir.path() / "Fav");
    auto merge = RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "Fav") + " --merge");
    EXPECT_EQ(merge.status, 2);
    EXPECT_EQ(merge.err, "tellavin-cli: " + (dir / "Fav") +
                             ": --merge does not apply to a Favorites folder\n");
    auto profile =
        RunCliHere("convert " + SampleFavorites() + " " + Quoted(dir / "h.adr") + " --profile Ann");
    EXPECT_EQ(profile.status, 2);
    EXPECT_EQ(profile.err, "tellavin-cli: " + (dir / "h.adr") +
                               ": --profile does not apply to an Opera hotlist\n");
    auto existing = RunCliHere("convert " + SampleFavorites() + " " + Quoted(dir / "h.adr") +
                               " --existing-folder x");
    EXPECT_EQ(existing.status, 2);
    auto both = RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "Fav") +
                           " --new-folder a --existing-folder b");
    EXPECT_NE(both.status, 0);
    EXPECT_FALSE(fs::exists(dir.path() / "h.adr"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "Fav"));
}

TEST(ConvertPaths, FailuresExitNonZeroWithTheWritersReasons) {
    TempDir dir;
    // A failure the checks cannot foresee: the writer's message.
    fs::create_directories(dir.path() / "folder.adr");
    auto failed =
        RunCliHere("convert " + SampleFavorites() + " " + Quoted("opera:" + (dir / "folder.adr")));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "tellavin-cli: " + (dir / "folder.adr") +
                              ": could not be written\n  Error Opening the Bookmark File.\n"
                              "  Cannot write \"" +
                              (dir / "folder.adr") + "\": Is a directory\n");

    // A link file that cannot be written: the rest is exported, the
    // shortfall reported.
    fs::create_directories(dir.path() / "Fav" / "Tellavin project.URL");
    auto partial = RunCliHere("convert " + SampleHotlist() + " " + Quoted(dir / "Fav"));
    EXPECT_EQ(partial.status, 1);
    EXPECT_EQ(partial.out, "2 Folders & 3 Links Exported Successfully.\n"
                           "Not carried over:\n"
                           "  Separators dropped: 1 (top level)\n"
                           "  Creation dates dropped: 1 (Daily Planet)\n"
                           "  Descriptions dropped: 1 (Weather)\n"
                           "  Keywords dropped: 1 (Crème brûlée)\n"
                           "  Trash folder and its deleted entries skipped: 1 "
                           "(Trash)\n");
    EXPECT_EQ(partial.err, "tellavin-cli: the export is incomplete\n"
                           "  1 links could not be written.\n"
                           "  The first failure: Cannot write \"" +
                               (dir / "Fav/Tellavin project.URL") + "\": Is a directory\n");
}

TEST(ConvertPaths, MessagesShowControlCharactersOfNamesEscaped) {
    TempDir dir;
    WriteFile(dir.path() / "evil\x1b]0;x\x07.html", "no bookmarks here\n");
    auto run = RunCliHere("convert " + Quoted(dir / "evil\x1b]0;x\x07.html") + " " +
                          Quoted(dir / "h.adr"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("evil\\x1b]0;x\\x07.html"), std::string::npos) << run.err;
}

// Every hotlist of the corpus converts into the other two stores with its
// counts intact, but for the trash folder and the deleted entries in it.
TEST(ConvertPaths, CorpusHotlistsIntoBookmarkFilesAndFavorites) {
    if (test::CorpusDir().empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    for (const auto& entry : fs::directory_iterator(test::CorpusDir() / "opera")) {
        TempDir dir;
        auto source = Quoted(entry.path().string());
        BookmarkTree tree;
        ASSERT_TRUE(LoadOperaTree(tree, entry.path().string()));
        auto counts = test::ExportedCountText(tree);
        ASSERT_EQ(RunCliHere("convert " + source + " " + Quoted(dir / "b.html")).status, 0);
        // A bookmark file's reader skips an address without a scheme, like
        // the hand-written "URL=Programming " of one hotlist.
        auto netscapeCounts = entry.path().filename() == "openmandriva-default-handwritten.adr"
                                  ? "3 folders, 28 links\n"
                                  : counts;
        EXPECT_EQ(RunCliHere("count " + Quoted(dir / "b.html")).out, netscapeCounts)
            << entry.path();
        fs::create_directories(dir.path() / "Fav");
        ASSERT_EQ(RunCliHere("convert " + source + " " + Quoted(dir / "Fav")).status, 0);
        EXPECT_EQ(RunCliHere("count " + Quoted(dir / "Fav")).out, counts) << entry.path();
    }
}

} // namespace
} // namespace tellavin
