#include "support/event_tree.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif
#include "support/listing.h"
#include "support/message_text.h"
#include "support/progress_recorder.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"
#include "targets/file_name_fit.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::Listing;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string Shortcut(const std::string& url) {
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

ExportResult Export(BookmarkTree& tree, const fs::path& favorites, const WriteOptions& options = {},
                    FileNameRules rules = NativeFileNameRules()) {
    NullProgress progress;
    return ExportToFavorites(tree, favorites.string(), options, progress, rules);
}

TEST(FavoritesNames, SafeFileNameReplacesTheNineCharactersAndRepairs) {
    EXPECT_EQ(SafeFileName("What? Now"), "What- Now");
    EXPECT_EQ(SafeFileName("a/b\\c:d*e?f<g>h|i\"j"), "a-b-c-d-e-f-g-h-i-j");
    EXPECT_EQ(SafeFileName("CafÃ© . x "), "Café . x ");
    EXPECT_EQ(SafeFileName(""), "");
    EXPECT_EQ(FixTrailingDots("Misc./"), "Misc/");
    EXPECT_EQ(FixTrailingDots("Misc../x./y"), "Misc/x/y");
    EXPECT_EQ(FixTrailingDots("../"), "/");
}

TEST(FavoritesNames, ShortcutFileIsTwoLinesWithNonAsciiPercentEncoded) {
    EXPECT_EQ(InternetShortcutText("http://a.example/?q=1&r=<2>"),
              "[InternetShortcut]\r\nURL=http://a.example/?q=1&r=<2>\r\n");
    EXPECT_EQ(InternetShortcutText("http://例え.jp/é"),
              "[InternetShortcut]\r\nURL=http://%E4%BE%8B%E3%81%88.jp/%C3%A9\r\n");
    EXPECT_EQ(InternetShortcutText("http://x/\r\nIconFile=y"),
              "[InternetShortcut]\r\nURL=http://x/%0D%0AIconFile=y\r\n");
}

TEST(FavoritesWriter, ExportsEveryFolderAndLinkWithSafeNames) {
    TempDir dir;
    fs::create_directories(dir.path() / "Fav");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Home", "http://home/");
        sink.AddLink("What? Now", "http://what/");
        sink.AddLink("a:b", "http://colon/");
        sink.AddLink("a/b", "http://slash/");
        sink.BeginFolder("Misc.");
        sink.AddLink("x", "http://x/");
        sink.AddLink("", "http://nameless/");
        sink.EndFolder();
        sink.BeginFolder("Misc..");
        sink.AddLink("y", "http://y/");
        sink.EndFolder();
        sink.BeginFolder("Empty");
        sink.EndFolder();
        sink.BeginFolder(""); // a hotlist folder without NAME=
        sink.AddLink("z", "http://z/");
        sink.EndFolder();
    });
    test::ProgressRecorder progress;
    auto result = ExportToFavorites(tree, (dir.path() / "Fav").string(), {}, progress);
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_TRUE(result.Complete()) << result.sFirstFailure;
    EXPECT_EQ(result.nFoldersWritten, 4);
    EXPECT_EQ(result.nLinksWritten, 8);
    // a/b and a:b both become a-b, and the folders Misc. and Misc.. both
    // Misc: the second is numbered, not lost or mixed with the first. The
    // unnamed folder stays a folder of its own.
    EXPECT_EQ(Listing(dir.path() / "Fav"),
              (std::vector<std::string>{"-/", "-/z.URL", "Empty/", "Home.URL", "Misc(2)/",
                                        "Misc(2)/y.URL", "Misc/", "Misc/.URL", "Misc/x.URL",
                                        "What- Now.URL", "a-b(2).URL", "a-b.URL"}));
    EXPECT_EQ(ReadFile(dir.path() / "Fav/a-b.URL"), Shortcut("http://slash/"));
    EXPECT_EQ(ReadFile(dir.path() / "Fav/a-b(2).URL"), Shortcut("http://colon/"));
    EXPECT_EQ(ReadFile(dir.path() / "Fav/Misc/.URL"), Shortcut("http://nameless/"));
    EXPECT_EQ(progress.statusTexts.front(), "Exporting From Folder: root");
    EXPECT_EQ(progress.statusTexts.size(), 5u);
}

TEST(FavoritesWriter, ExportingAgainReplacesSameNamesAndLeavesOtherFiles) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    WriteFile(fav / "Home.URL", Shortcut("http://old/"));
    WriteFile(fav / "Mine.URL", Shortcut("http://mine/"));
    auto tree =
        test::TreeFromEvents([](BookmarkSink& sink) { sink.AddLink("Home", "http://new/"); });
    ASSERT_TRUE(Export(tree, fav).Complete());
    ASSERT_TRUE(Export(tree, fav).Complete());
    EXPECT_EQ(ReadFile(fav / "Home.URL"), Shortcut("http://new/"));
    EXPECT_EQ(ReadFile(fav / "Mine.URL"), Shortcut("http://mine/"));
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"Home.URL", "Mine.URL"}));
}

TEST(FavoritesWriter, BaseFolderChoices) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav / "News" / "Daily");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("f");
        sink.AddLink("a", "http://a/");
    });

    WriteOptions newFolder;
    newFolder.newFolder = "Imported from Opera (1/2/2024).";
    ASSERT_TRUE(Export(tree, fav, newFolder).Complete());

    WriteOptions existing;
    existing.existingFolder = "News/Daily";
    ASSERT_TRUE(Export(tree, fav, existing).Complete());

    EXPECT_EQ(Listing(fav),
              (std::vector<std::string>{"Imported from Opera (1-2-2024)/",
                                        "Imported from Opera (1-2-2024)/f/",
                                        "Imported from Opera (1-2-2024)/f/a.URL", "News/",
                                        "News/Daily/", "News/Daily/f/", "News/Daily/f/a.URL"}));

    existing.existingFolder = "Gone";
    auto refused = Export(tree, fav, existing);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message.title, "Selected Subfolder Does Not Exist");
    EXPECT_EQ(test::MessageText(refused.message)
                  .rfind("The Selected Subfolder Where To Export The Bookmarks\n", 0),
              0u);
    EXPECT_NE(test::MessageText(refused.message).find((fav / "Gone").string()), std::string::npos);

    auto noFavorites = Export(tree, dir.path() / "Missing");
    EXPECT_FALSE(noFavorites.ok);
    EXPECT_EQ(test::MessageText(noFavorites.message)
                  .rfind("The Selected Folder Where To Export The Bookmarks\n", 0),
              0u);
    EXPECT_FALSE(fs::exists(dir.path() / "Missing"));
}

TEST(FavoritesWriter, SelectionDropsUncheckedFoldersFromThePath) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("a", "http://a/");
        sink.BeginFolder("f1");
        sink.AddLink("b", "http://b/");
        sink.BeginFolder("f2");
        sink.AddLink("c", "http://c/");
        sink.AddLink("d", "http://d/");
    });
    auto f2 = tree.Node(tree.Child(0)).children.front();
    tree.Node(f2).Checked = true;
    for (auto& row : tree.EntryTable) {
        row.bChecked = row.sName == "c" || row.sName == "a";
    }
    WriteOptions options;
    options.exportAll = false;
    auto result = Export(tree, fav, options);
    EXPECT_EQ(result.nFoldersWritten, 1);
    EXPECT_EQ(result.nLinksWritten, 1);
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"f2/", "f2/c.URL"}));
}

TEST(FavoritesWriter, PosixNamesAreCutTo255BytesOnCharacterBoundaries) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav);
    const std::string longName(300, 'x');
    std::string accented;
    for (int i = 0; i < 200; ++i) {
        accented += "é";
    }
    auto tree = test::TreeFromEvents([&](BookmarkSink& sink) {
        sink.AddLink(longName + "1", "http://1/");
        sink.AddLink(longName + "2", "http://2/");
        sink.AddLink(accented, "http://e/");
        sink.BeginFolder(std::string(300, 'd'));
        sink.AddLink("in", "http://in/");
    });
    WriteOptions options;
    auto result = Export(tree, fav, options, FileNameRules::Posix);
    ASSERT_TRUE(result.Complete()) << result.sFirstFailure;
    std::string cutAccented;
    for (int i = 0; i < 125; ++i) {
        cutAccented += "é"; // 250 bytes: a 126th would need 252
    }
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{
                                std::string(255, 'd') + "/",
                                std::string(255, 'd') + "/in.URL",
                                std::string(248, 'x') + "(2).URL",
                                std::string(251, 'x') + ".URL",
                                cutAccented + ".URL",
                            }));
    EXPECT_EQ(ReadFile(fav / (std::string(251, 'x') + ".URL")), Shortcut("http://1/"));
}

TEST(FavoritesWriter, WindowsRulesCutThePathTo250AndAvoidDeviceNames) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav);
    const auto base = fav.string() + "/";
    const auto baseLength = static_cast<std::int32_t>(detail::Utf16Length(base));
    ASSERT_LT(baseLength, 100);
    const std::string deep(200, 'd');
    auto tree = test::TreeFromEvents([&](BookmarkSink& sink) {
        sink.AddLink("CON", "http://con/");
        sink.AddLink("nul.txt", "http://nul/");
        sink.AddLink("COM10", "http://com10/");
        sink.AddLink("line\nbreak", "http://break/");
        sink.BeginFolder("Trailing . ");
        sink.AddLink(std::string(300, 'L'), "http://long/");
        sink.EndFolder();
        sink.BeginFolder(deep);
        sink.BeginFolder(deep);
        sink.AddLink("lost", "http://lost/");
    });
    WriteOptions options;
    auto result = Export(tree, fav, options, FileNameRules::Windows);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.nLinksWritten, 5);
    EXPECT_EQ(result.nLinksNotWritten, 1);
    EXPECT_NE(result.sFirstFailure.find("lost.URL\": the path is too long"), std::string::npos);
    const auto longStem = std::string(250 - baseLength - 9, 'L'); // "Trailing/" takes 9
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"COM10.URL", "CON_.URL", "Trailing/",
                                                      "Trailing/" + longStem + ".URL", deep + "/",
                                                      deep + "/" + deep + "/", "line-break.URL",
                                                      "nul_.txt.URL"}));
}

TEST(FavoritesWriter, WindowsRulesNumberNamesThatDifferOnlyInCase) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("News", "http://upper/");
        sink.AddLink("news", "http://lower/");
    });
    WriteOptions options;
    ASSERT_TRUE(Export(tree, fav, options, FileNameRules::Windows).Complete());
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"News.URL", "news(2).URL"}));
}

TEST(FavoritesWriter, LinksThatCannotBeWrittenAreCountedWithTheFirstReason) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav / "Home.URL"); // a directory where the shortcut goes
    WriteFile(fav / "News", "a file where the folder goes");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Home", "http://home/");
        sink.AddLink("Work", "http://work/");
        sink.BeginFolder("News");
        sink.AddLink("Daily", "http://daily/");
        sink.AddLink("Weekly", "http://weekly/");
    });
    auto result = Export(tree, fav);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.nLinksWritten, 1);
    EXPECT_EQ(result.nLinksNotWritten, 3);
    EXPECT_NE(result.sFirstFailure.find((fav / "Home.URL").string()), std::string::npos);
    EXPECT_NE(result.sFirstFailure.find("Is a directory"), std::string::npos);
    EXPECT_EQ(ReadFile(fav / "Work.URL"), Shortcut("http://work/"));

    WriteOptions newFolder;
    newFolder.newFolder = "News";
    auto refused = Export(tree, fav, newFolder);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(test::MessageText(refused.message).find((fav / "News").string()), std::string::npos);
    EXPECT_EQ(ReadFile(fav / "News"), "a file where the folder goes");
}

// Only one toolbar folder becomes the Links folder, the first in the
// source that lands in the base directory, even when it comes after a
// folder called Links: another toolbar (a hotlist shows every folder marked
// so on its bar) keeps its name, and the source's own Links is numbered,
// each a directory of its own. With only Links and the toolbar inside the
// unchecked Bar 2 checked, that toolbar lands in the base directory and is
// the one.
TEST(FavoritesWriter, OnlyOneToolbarFolderBecomesLinksAndNoTwoFoldersShareADirectory) {
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("Toolbar");
        sink.MarkToolbarFolder();
        sink.AddLink("t", "http://t/");
        sink.EndFolder();
        sink.BeginFolder("Links");
        sink.AddLink("l", "http://l/");
        sink.EndFolder();
        sink.BeginFolder("Bar");
        sink.MarkToolbarFolder();
        sink.AddLink("b", "http://b/");
        sink.EndFolder();
        sink.BeginFolder("Bar 2");
        sink.BeginFolder("Inner bar");
        sink.MarkToolbarFolder();
        sink.AddLink("i", "http://i/");
    });
    for (std::int32_t node = 0; node < tree.NodeCount(); ++node) {
        tree.Node(node).Checked =
            tree.Node(node).Text == "Links" || tree.Node(node).Text == "Inner bar";
    }
    for (auto& row : tree.EntryTable) {
        row.bChecked = true;
    }
    const std::pair<bool, std::string> cases[] = {
        {true, "5 folders: Bar 2/ Bar 2/Inner bar/ Bar 2/Inner bar/i.URL Bar/ Bar/b.URL Links(2)/ "
               "Links(2)/l.URL Links/ Links/t.URL\n"
               "Duplicate names numbered: 1 (\"Links\" -> \"Links(2)\")\n"
               "Toolbar folder renamed: 1 (\"Toolbar\" -> \"Links\")"},
        {false, "2 folders: Links(2)/ Links(2)/l.URL Links/ Links/i.URL\n"
                "Duplicate names numbered: 1 (\"Links\" -> \"Links(2)\")\n"
                "Toolbar folder renamed: 1 (\"Inner bar\" -> \"Links\")"},
    };
    for (const auto& [exportAll, expected] : cases) {
        SCOPED_TRACE(exportAll);
        TempDir dir;
        auto fav = dir.path() / "Fav";
        fs::create_directories(fav);
        WriteOptions options;
        options.exportAll = exportAll;
        auto result = Export(tree, fav, options);
        ASSERT_TRUE(result.Complete()) << result.sFirstFailure;
        std::string text = std::to_string(result.nFoldersWritten) + " folders:";
        for (const auto& entry : Listing(fav)) {
            text += " " + entry;
        }
        for (const auto& line : result.losses.Lines()) {
            text += "\n" + line;
        }
        EXPECT_EQ(text, expected);
    }
}

// A shortcut write cut short where the system keeps a named temporary file
// leaves that file in the folder; the next export into the folder removes
// it once it is a day old.
TEST(FavoritesWriter, ExportRemovesTemporaryFilesOfShortcutWritesCutShort) {
#ifdef _WIN32
    const std::string stale = ".tellavin-4242-7.tmp";
#else
    const std::string stale = ".tellavin-Ab12Cd";
#endif
    TempDir dir;
    auto fav = dir.path() / "Fav";
    WriteFile(fav / "News" / stale, "[InternetShortcut]\r\nURL=http://ha");
    fs::last_write_time(fav / "News" / stale,
                        fs::file_time_type::clock::now() - std::chrono::hours(25));
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("News");
        sink.AddLink("Daily", "http://daily/");
    });
    ASSERT_TRUE(Export(tree, fav).Complete());
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"News/", "News/Daily.URL"}));
}

#ifndef _WIN32
// Windows sets no file-size limit on a process, so no write can be cut short this way there.
TEST(FavoritesWriter, AFullDiskLeavesTheOldShortcutWhole) {
    TempDir dir;
    auto fav = dir.path() / "Fav";
    const auto old = Shortcut("http://old/");
    WriteFile(fav / "Home.URL", old);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Home", "http://a-much-longer-address.example/that/does/not/fit");
    });
    ExportResult result;
    {
        test::FileSizeLimit limit(old.size());
        result = Export(tree, fav);
    }
    EXPECT_EQ(result.nLinksNotWritten, 1);
    EXPECT_EQ(result.nLinksWritten, 0);
    EXPECT_EQ(result.sFirstFailure.rfind("Cannot write \"" + (fav / "Home.URL").string() + "\"", 0),
              0u)
        << result.sFirstFailure;
    EXPECT_NE(result.sFirstFailure.find("File too large"), std::string::npos);
    EXPECT_EQ(ReadFile(fav / "Home.URL"), old);
    EXPECT_EQ(Listing(fav), (std::vector<std::string>{"Home.URL"}));
}
#endif

} // namespace
} // namespace tellavin
