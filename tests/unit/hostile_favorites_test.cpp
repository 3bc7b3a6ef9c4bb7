// A Favorites folder holding what a disk can hold besides shortcuts:
// broken and binary .url files, pipes and devices with a .url name, folders
// deeper than the path limit, file names that are not UTF-8.
#include "sources/favorites_reader.h"
#include "sources/internet_shortcut.h"
#include "support/hostile_files.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "text/encoding.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::DataFile;
using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

std::string Shortcut(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

TEST(HostileShortcut, FixturesNamedAfterTheirFault) {
    EXPECT_EQ(ShortcutUrlFromText(DataFile("url/empty.url")), "");
    EXPECT_EQ(ShortcutUrlFromText(DataFile("url/binary-garbage.url")), "");
    // Found by the fuzzer: the address ends at the NUL, as Windows reads it.
    EXPECT_EQ(ShortcutUrlFromText(DataFile("fuzz/internet_shortcut_fuzz/nul-in-address.url")),
              "'[\x01");
    // A UTF-7 address may encode LF, CR and TAB; none of them survives.
    EXPECT_EQ(ShortcutUrlFromText(DataFile("url/line-break-in-utf7-address.url")),
              "http://x/\xC3\xA9");
    EXPECT_EQ(ShortcutUrlFromText(DataFile("url/cr-only-line-ends.url")),
              "http://classic.example/mac");
}

TEST(HostileShortcut, ControlCharactersInsideAnAddress) {
    EXPECT_EQ(ShortcutUrlFromText("[InternetShortcut]\nURL=http://a/\0b\n"s), "http://a/");
    EXPECT_EQ(ShortcutUrlFromText("[InternetShortcut]\nURL=http://a/\tb\n"), "http://a/b");
    EXPECT_EQ(ShortcutUrlFromText("[InternetShortcut]\rURL=http://a/\rb\n"), "http://a/");
    // Invalid UTF-8 is read as Windows-1252, so the address is always UTF-8.
    auto url = ShortcutUrlFromText("[InternetShortcut]\nURL=http://a/\xC3\x28\xFF\n");
    EXPECT_EQ(url, "http://a/\xC3\x83(\xC3\xBF");
}

TEST(HostileShortcut, TwoHundredMegabyteSingleLine) {
    TempDir dir;
    auto path = dir.path() / "huge.url";
    const std::size_t size = 200u << 20;
    // Lines ended by CR alone: one line for a reader that splits at LF.
    test::WriteRepeated(path, "[InternetShortcut]\rURL=http://a/", 'x', size, "\r");
    auto url = ReadShortcutUrl(path.string());
    EXPECT_EQ(url.size(), size + 9);
    EXPECT_EQ(url.substr(0, 12), "http://a/xxx");

    test::WriteRepeated(path, "", '\xE9', size, "");
    EXPECT_EQ(ReadShortcutUrl(path.string()), "");
}

TEST(HostileFavorites, BrokenShortcutsAreLinksWithCleanAddresses) {
    TempDir dir;
    auto root = dir.path() / "Favorites";
    for (auto name : {"binary-garbage.url", "empty.url", "line-break-in-utf7-address.url",
                      "cr-only-line-ends.url"}) {
        WriteFile(root / name, DataFile(std::string("url/") + name));
    }
    WriteFile(root / "nul-in-address.url",
              DataFile("fuzz/internet_shortcut_fuzz/nul-in-address.url"));
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    EXPECT_EQ(test::TreeText(tree, true),
              "My Favorites[ binary-garbage= cr-only-line-ends=http://classic.example/mac empty= "
              "line-break-in-utf7-address=http://x/\xC3\xA9 nul-in-address='[\x01 ]");
}

TEST(HostileFavorites, PipesDevicesAndFoldersNamedUrl) {
    TempDir dir;
    auto root = dir.path() / "Favorites";
    WriteFile(root / "real.url", Shortcut("http://real/"));
    WriteFile(root / "d.url" / "inner.url", Shortcut("http://inner/"));
    ASSERT_EQ(mkfifo((root / "pipe.url").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", root / "zero.url");
    fs::create_symlink(root / "missing.url", root / "dangling.url");

    // Reading the pipe or the device would block or never end: they are
    // not links.
    cFastScanning scanner;
    scanner.Scan(root.string());
    EXPECT_EQ(scanner.nFolder(), 1);
    EXPECT_EQ(scanner.nLink(), 2);
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    EXPECT_EQ(test::TreeText(tree, true),
              "My Favorites[ real=http://real/ d.url[ inner=http://inner/ ] ]");
}

TEST(HostileFavorites, AThousandLevelsAreReadWhole) {
    TempDir dir;
    auto root = dir.path() / "Favorites";
    const int depth = 1000;
    test::MakeDeepChain(root, "d", depth);
    auto bottom = root;
    for (int level = 0; level < depth; ++level) {
        bottom /= "d";
    }
    WriteFile(bottom / "x.url", Shortcut("http://bottom/"));

    cFastScanning scanner;
    scanner.Scan(root.string());
    EXPECT_EQ(scanner.nFolder(), depth);
    EXPECT_EQ(scanner.nLink(), 1);
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    std::string expected = "My Favorites[";
    for (int level = 0; level < depth; ++level) {
        expected += " d[";
    }
    expected += " x=http://bottom/";
    for (int level = 0; level <= depth; ++level) {
        expected += " ]";
    }
    EXPECT_EQ(test::TreeText(tree, true), expected);
}

TEST(HostileFavorites, ChainsBeyondThePathLimitEndAndCountWhatTheTreeHolds) {
    TempDir dir;
    auto root = dir.path() / "Favorites";
    const int depth = 3000; // 9,000 characters of path, over twice the limit
    test::MakeDeepChain(root, "dd", depth);

    cFastScanning scanner;
    scanner.Scan(root.string());
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    EXPECT_GT(scanner.nFolder(), 1000);
    EXPECT_LT(scanner.nFolder(), depth);
    EXPECT_EQ(scanner.nFolder(), tree.NodeCount() - 1);
    EXPECT_EQ(scanner.nLink(), 0);
    // Every folder lists (the deepest ones as empty) and the whole tree
    // walks.
    auto text = test::TreeText(tree);
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), tree.NodeCount());
    EXPECT_EQ(text.substr(text.size() - 4), " ] ]");
}

TEST(HostileFavorites, NamesThatAreNotUtf8KeepTheirBytesSoTheFilesAreFoundAgain) {
    TempDir dir;
    auto root = dir.path() / "Favorites";
    WriteFile(root / "caf\xE9.url", Shortcut("http://cafe/"));
    WriteFile(root / "d\xFF" / "in.url", Shortcut("http://in/"));
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    EXPECT_EQ(test::TreeText(tree, true),
              "My Favorites[ caf\xE9=http://cafe/ d\xFF[ in=http://in/ ] ]");
}

// Folders levels deep, each level with links named "a" and "b" to the next
// level's folder, which lies outside the Favorites folder; the last level
// holds one shortcut.
void MakeLinkDiamonds(const fs::path& root, int levels) {
    auto level = [&](int n) {
        return n == 0 ? root : root.parent_path() / ("level" + std::to_string(n));
    };
    for (int n = 0; n < levels; ++n) {
        fs::create_directories(level(n + 1));
        fs::create_directory_symlink(level(n + 1), level(n) / "a");
        fs::create_directory_symlink(level(n + 1), level(n) / "b");
    }
    WriteFile(level(levels) / "x.url", Shortcut("http://bottom/"));
}

// The tree of the Favorites folder with the counts of its scan.
std::string ScannedTree(const fs::path& root) {
    cFastScanning scanner;
    scanner.Scan(root.string());
    BookmarkTree tree;
    EXPECT_TRUE(BuildFavoritesTree(tree, root.string()));
    return std::to_string(scanner.nFolder()) + " folders, " + std::to_string(scanner.nLink()) +
           " links: " + test::TreeText(tree, true);
}

std::string NestedA(int levels, const std::string& inside) {
    std::string text;
    for (int n = 0; n < levels; ++n) {
        text += " a[";
    }
    text += inside;
    for (int n = 0; n < levels; ++n) {
        text += " ]";
    }
    return text;
}

struct ReadScaleRow {
    const char* fault;
    int levels;
};

// Two links from each level to the next made 2^levels folders to walk: the
// walk took minutes at 18 levels. Each directory is now walked once.
const ReadScaleRow kReadScaleRows[] = {
    {"TwoLinksToOneFolderListedItTwice", 1},
    {"DiamondsOfFolderLinksWereWalkedOncePerPath", 30},
};

TEST(HostileFavoritesScale, EachRealDirectoryIsWalkedOnce) {
    for (const auto& row : kReadScaleRows) {
        TempDir dir;
        auto root = dir.path() / "Favorites";
        fs::create_directories(root);
        MakeLinkDiamonds(root, row.levels);
        EXPECT_EQ(ScannedTree(root), std::to_string(row.levels) +
                                         " folders, 1 links: My Favorites[" +
                                         NestedA(row.levels, " x=http://bottom/") + " ]")
            << row.fault;
    }
}

} // namespace
} // namespace tellavin
