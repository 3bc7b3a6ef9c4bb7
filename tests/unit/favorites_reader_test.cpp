#include "sources/favorites_reader.h"
#include "sources/favorites_walk.h"
#include "sources/internet_shortcut.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

std::string Shortcut(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

// Favorites/
//   Home.url, notes.txt, Report.url.txt, Mixed.URL
//   News/ Daily.url
//   Work/ Deep/ X.url
//   Empty/
void MakeFavorites(const TempDir& dir) {
    auto root = dir.path() / "Favorites";
    WriteFile(root / "Home.url", Shortcut("http://home/"));
    WriteFile(root / "notes.txt", "not a link");
    WriteFile(root / "Report.url.txt", Shortcut("http://report/"));
    WriteFile(root / "Mixed.URL", Shortcut("http://mixed/"));
    WriteFile(root / "News" / "Daily.url", Shortcut("http://daily/"));
    WriteFile(root / "Work" / "Deep" / "X.url", Shortcut("http://x/"));
    fs::create_directories(root / "Empty");
}

TEST(FavoritesLinkTest, NamesUpToDotUrlAnywhere) {
    EXPECT_TRUE(IsLinkFileName("News.url"));
    EXPECT_EQ(LinkNameFromFileName("News.url"), "News");
    EXPECT_TRUE(IsLinkFileName("Report.url.txt"));
    EXPECT_EQ(LinkNameFromFileName("Report.url.txt"), "Report");
    EXPECT_TRUE(IsLinkFileName("Mixed.URL"));
    EXPECT_EQ(LinkNameFromFileName("Mixed.URL"), "Mixed");
    EXPECT_FALSE(IsLinkFileName("notes.txt"));
}

TEST(FavoritesScanner, CountsFoldersAndLinksAndReportsEachFolder) {
    TempDir dir;
    MakeFavorites(dir);
    cFastScanning scanner;
    EXPECT_EQ(scanner.nFolder(), -1);
    EXPECT_EQ(scanner.nLink(), -1);
    EXPECT_EQ(scanner.sFavFolder(), "");
    std::vector<std::string> seen;
    scanner.FolderScan = [&](const std::string& parent, const std::string& name) {
        seen.push_back(parent + name);
    };
    auto root = dir / "Favorites";
    scanner.Scan(root);
    EXPECT_EQ(scanner.nFolder(), 4);
    EXPECT_EQ(scanner.nLink(), 5);
    EXPECT_EQ(scanner.sFavFolder(), root);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{root + "/Empty", root + "/News", root + "/Work",
                                              root + "/Work/Deep"}));
}

TEST(FavoritesScanner, MissingFolderCountsZeroAndAutoLocateUsesThePlatform) {
    TempDir dir;
    cFastScanning missing;
    missing.Scan(dir / "nowhere");
    EXPECT_EQ(missing.nFolder(), 0);
    EXPECT_EQ(missing.nLink(), 0);

    test::FakePlatform platform;
    cFastScanning unknown;
    EXPECT_FALSE(unknown.GetFolderPath(platform));

    MakeFavorites(dir);
    platform.folders[SpecialFolder::Favorites] = dir / "Favorites";
    cFastScanning located;
    located.Scan({}, platform);
    EXPECT_EQ(located.nLink(), 5);
    EXPECT_EQ(located.sFavFolder(), dir / "Favorites");
}

TEST(FavoritesTree, BuildsFoldersNowAndListsRowsLazily) {
    TempDir dir;
    MakeFavorites(dir);
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    EXPECT_EQ(tree.Node(0).Text, "My Favorites");
    EXPECT_EQ(tree.Key(0), dir / "Favorites/");
    EXPECT_EQ(tree.FolderTable[0].sName, "");
    EXPECT_EQ(tree.FolderPath(0), dir / "Favorites/");
    EXPECT_EQ(tree.NodeCount(), 5);
    for (const auto& record : tree.FolderTable) {
        EXPECT_FALSE(record.bListed);
    }
    EXPECT_TRUE(tree.EntryTable.empty());

    EXPECT_EQ(test::TreeText(tree, true),
              "My Favorites[ Home=http://home/ Mixed=http://mixed/ Report=http://report/ Empty[ ] "
              "News[ Daily=http://daily/ ] Work[ Deep[ X=http://x/ ] ] ]");
}

TEST(FavoritesTree, ListingTwoFoldersGivesAdjacentRangesInListingOrder) {
    TempDir dir;
    MakeFavorites(dir);
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    auto news = tree.Child(0) == -1 ? -1 : tree.Next(tree.Child(0)); // Empty, News, Work
    ASSERT_EQ(tree.Node(news).Text, "News");
    ASSERT_TRUE(tree.EnsureListed(news));
    ASSERT_TRUE(tree.EnsureListed(0));
    const auto& newsRecord = tree.FolderTable[news];
    const auto& rootRecord = tree.FolderTable[0];
    EXPECT_EQ(newsRecord.nFirstEntry, 0);
    EXPECT_EQ(newsRecord.nLastEntry, 0);
    EXPECT_EQ(rootRecord.nFirstEntry, 1);
    EXPECT_EQ(rootRecord.nLastEntry, 6); // 3 links and 3 folders
    EXPECT_EQ(tree.nListedEntries, 7);
    const auto& daily = tree.EntryTable[0];
    EXPECT_EQ(daily.sName, "Daily");
    EXPECT_EQ(daily.sURL, "http://daily/");
    EXPECT_EQ(daily.nIcon, image::kFavoritesLink);
    EXPECT_TRUE(daily.dDate.ok());
    int folderRows = 0;
    for (const auto& entry : tree.Rows(0)) {
        if (!entry.IsLink()) {
            ++folderRows;
            EXPECT_EQ(entry.nIcon, image::kFolderClosed);
            EXPECT_EQ(entry.sURL, "");
            EXPECT_EQ(tree.FolderKeyOf(entry),
                      dir / ("Favorites/" + std::string(entry.sName) + "/"));
        }
    }
    EXPECT_EQ(folderRows, 3);
}

TEST(FavoritesTree, EmptyAndUnreadableFolders) {
    TempDir dir;
    MakeFavorites(dir);
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Favorites"));
    auto empty = tree.Child(0);
    ASSERT_EQ(tree.Node(empty).Text, "Empty");
    ASSERT_TRUE(tree.EnsureListed(empty));
    EXPECT_EQ(tree.FolderTable[empty].nLastEntry, tree.FolderTable[empty].nFirstEntry - 1);

    auto work = tree.Next(tree.Next(empty));
    fs::remove_all(dir.path() / "Favorites" / "Work");
    EXPECT_FALSE(tree.EnsureListed(work));
    EXPECT_FALSE(tree.FolderTable[work].bListed);
    fs::create_directories(dir.path() / "Favorites" / "Work");
    EXPECT_TRUE(tree.EnsureListed(work)); // tried again next time

    BookmarkTree none;
    EXPECT_FALSE(BuildFavoritesTree(none, ""));
    EXPECT_FALSE(none.HasRoot());
}

#ifndef _WIN32
// POSIX permissions that take reading away.
TEST(FavoritesTree, UnreadableDirectoryIsSkippedNotFatal) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root reads every directory";
    }
    TempDir dir;
    MakeFavorites(dir);
    fs::permissions(dir.path() / "Favorites" / "News", fs::perms::none);
    cFastScanning scanner;
    scanner.Scan(dir / "Favorites");
    EXPECT_EQ(scanner.nFolder(), 4);
    EXPECT_EQ(scanner.nLink(), 4);
}
#endif

#ifndef _WIN32
// Symbolic links to folders; Windows lets only administrators make them.
TEST(FavoritesWalk, SymbolicLinkCyclesEndAndEachFolderIsReadOnce) {
    TempDir dir;
    MakeFavorites(dir);
    auto root = dir.path() / "Favorites";
    fs::create_directory_symlink(root, root / "Work" / "LoopToRoot");
    fs::create_directory_symlink(root / "Work", root / "Work" / "Deep" / "LoopToWork");
    fs::create_directory_symlink(root / "News", root / "NewsAgain");
    cFastScanning scanner;
    scanner.Scan(root.string());
    // NewsAgain leads to News, read already under its own name; the two
    // loops lead to folders being read.
    EXPECT_EQ(scanner.nFolder(), 4);
    EXPECT_EQ(scanner.nLink(), 5);

    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    EXPECT_EQ(test::TreeText(tree),
              "My Favorites[ Home Mixed Report Empty[ ] News[ Daily ] Work[ Deep[ X ] ] ]");
}
#endif

TEST(InternetShortcut, ProfileRulesForTheAddress) {
    EXPECT_EQ(ShortcutUrlFromText("[internetshortcut]\nurl = http://a/ \n"), "http://a/");
    EXPECT_EQ(ShortcutUrlFromText("[Other]\nURL=http://no/\n[InternetShortcut]\nIDList=\n"
                                  "URL=http://yes/\nURL=http://second/\n"),
              "http://yes/");
    // Only the first section of a name is looked at.
    EXPECT_EQ(ShortcutUrlFromText("[InternetShortcut]\nIconIndex=1\n[InternetShortcut]\nURL=x\n"),
              "");
    EXPECT_EQ(ShortcutUrlFromText("https://aws.amazon.com/free/\n"), "");
    EXPECT_EQ(ShortcutUrlFromText(""), "");
    EXPECT_EQ(ShortcutUrlFromText(";URL=http://c/\n[InternetShortcut]\n;URL=x\nURL=\"q\"\n"), "q");
}

TEST(InternetShortcut, DecodedAtTheEdge) {
    EXPECT_EQ(ShortcutUrlFromText("\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://x/\xC3\xA9\r\n"),
              "http://x/\xC3\xA9");
    EXPECT_EQ(ShortcutUrlFromText("[InternetShortcut]\r\nURL=http://x/\xE9\r\n"),
              "http://x/\xC3\xA9");
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[InternetShortcut]\r\nURL=http://w/")) {
        utf16 += c;
        utf16 += '\0';
    }
    utf16 += std::string("\x42\x30", 2); // U+3042
    EXPECT_EQ(ShortcutUrlFromText(utf16), "http://w/\xE3\x81\x82");
}

TEST(InternetShortcut, WideSectionWinsWhenTheAnsiCopyIsTheBaseValue) {
    std::string file = "[InternetShortcut]\r\nURL=http://x/?t?\r\n"
                       "[InternetShortcut.A]\r\nURL=http://x/?t?\r\n"
                       "[InternetShortcut.W]\r\nURL=http://x/+AOk-t+AOk-\r\n";
    EXPECT_EQ(ShortcutUrlFromText(file), "http://x/\xC3\xA9t\xC3\xA9");
    std::string edited = "[InternetShortcut]\r\nURL=http://new/\r\n"
                         "[InternetShortcut.A]\r\nURL=http://x/?t?\r\n"
                         "[InternetShortcut.W]\r\nURL=http://x/+AOk-t+AOk-\r\n";
    EXPECT_EQ(ShortcutUrlFromText(edited), "http://new/");
}

TEST(InternetShortcut, EveryCorpusFileGivesItsAddress) {
    auto corpus = test::CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    std::map<std::string, std::string> expected = {
        {"fiddlerplus-homepage-prop3-first.url", "http://dev.uoquint.ru/projects"},
        {"happysolver-homepage-modified.url", "http://happysolver.sourceforge.net/"},
        {"ie-baseurl-doc-frame-section.url", "http://www.sevenbank.co.jp/english/"},
        {"ie-default-bing-envvar-roamed.url", "http://go.microsoft.com/fwlink/p/?LinkId=255142"},
        {"ie-suggested-sites-monitoreditem.url", "https://ieonline.microsoft.com/#ieslice"},
        {"ie-suggested-sites-no-url-key.url", ""},
        {"not-ini-bare-url-AWS.url", ""},
        {"xrefresh-minimal-crlf.url", "http://xrefresh.binaryage.com/"},
        {"\xE5\x93\x94\xE5\x93\xA9\xE5\x93\x94\xE5\x93\xA9 (\xE3\x82\x9C-\xE3\x82\x9C)"
         "\xE3\x81\xA4\xE3\x83\xAD \xE5\xB9\xB2\xE6\x9D\xAF--bilibili.url",
         "https://www.bilibili.com/"},
    };
    for (const auto& [name, url] : expected) {
        EXPECT_EQ(ReadShortcutUrl((corpus / "url" / name).string()), url) << name;
    }
    auto radio =
        ReadShortcutUrl((corpus / "url" / "ie6-radio-station-guide-modified.url").string());
    EXPECT_EQ(
        radio.rfind("http://www.microsoft.com/isapi/redir.dll?prd=windows&sbp=mediaplayer", 0), 0u);
    EXPECT_EQ(radio.back(), '=');
}

} // namespace
} // namespace tellavin
