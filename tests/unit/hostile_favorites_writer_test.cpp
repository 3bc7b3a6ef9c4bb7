// Writing a Favorites folder over what is already on the disk, onto a full
// disk, and from names no file system takes.
#include "support/event_tree.h"
#include "support/file_size_limit.h"
#include "support/listing.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::Listing;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

TEST(HostileFavoritesWriter, ControlCharactersInNamesBecomeDashes) {
    TempDir dir;
    fs::create_directories(dir.path() / "Fav");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("tab\there");
        sink.AddLink("two\nlines", "http://two/");
        sink.AddLink("nul\0byte"s, "http://nul/");
        sink.EndFolder();
    });
    NullProgress progress;
    auto result = ExportToFavorites(tree, (dir.path() / "Fav").string(), {}, progress);
    EXPECT_TRUE(result.Complete()) << result.sFirstFailure;
    EXPECT_EQ(
        Listing(dir.path() / "Fav"),
        (std::vector<std::string>{"tab-here/", "tab-here/nul-byte.URL", "tab-here/two-lines.URL"}));
}

TEST(HostileFavoritesWriter, AFileWhereAFolderGoesAndAFolderWhereAFileGoes) {
    TempDir dir;
    auto root = dir.path() / "Fav";
    WriteFile(root / "News", "a file named like the folder");
    WriteFile(root / "Daily.URL" / "inside.txt", "a folder named like the link");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Daily", "http://daily/");
        sink.AddLink("Home", "http://home/");
        sink.BeginFolder("News");
        sink.AddLink("Weather", "http://weather/");
        sink.EndFolder();
    });
    NullProgress progress;
    auto result = ExportToFavorites(tree, root.string(), {}, progress);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.Complete());
    EXPECT_GE(result.nLinksNotWritten, 1);
    EXPECT_NE(result.sFirstFailure, "");
    EXPECT_EQ(ReadFile(root / "News"), "a file named like the folder");
    EXPECT_EQ(ReadFile(root / "Daily.URL" / "inside.txt"), "a folder named like the link");
    EXPECT_EQ(ReadFile(root / "Home.URL"), "[InternetShortcut]\r\nURL=http://home/\r\n");
}

TEST(HostileFavoritesWriter, FullDiskLeavesEveryOldShortcutWhole) {
    TempDir dir;
    auto root = dir.path() / "Fav";
    const std::string old = "[InternetShortcut]\r\nURL=http://old/\r\n";
    WriteFile(root / "Home.URL", old);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Home", "http://new/" + std::string(4000, 'x'));
        sink.AddLink("Other", "http://other/" + std::string(4000, 'y'));
    });
    NullProgress progress;
    ExportResult result;
    {
        test::FileSizeLimit limit(1024);
        result = ExportToFavorites(tree, root.string(), {}, progress);
    }
    EXPECT_EQ(result.nLinksNotWritten, 2);
    EXPECT_NE(result.sFirstFailure.find("File too large"), std::string::npos)
        << result.sFirstFailure;
    EXPECT_EQ(ReadFile(root / "Home.URL"), old);
    EXPECT_EQ(Listing(root), std::vector<std::string>{"Home.URL"});
}

// Everything below root as one line, in name order, without following
// links: "name/" for a directory, "name -> target" for a symbolic link,
// "name=address" for a shortcut and "name=content" for another file. dir is
// left out of link targets.
std::string Snapshot(const fs::path& root, const fs::path& dir) {
    std::vector<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        auto name = entry.path().lexically_relative(root).string();
        if (entry.is_symlink()) {
            auto target = fs::read_symlink(entry.path()).string();
            lines.push_back(
                name + " -> " +
                target.substr(target.find(dir.string()) == 0 ? dir.string().size() : 0));
        } else if (entry.is_directory()) {
            lines.push_back(name + "/");
        } else {
            auto content = ReadFile(entry.path());
            auto url = content.find("URL=");
            lines.push_back(name + "=" +
                            (url == std::string::npos
                                 ? content
                                 : content.substr(url + 4, content.find('\r', url) - url - 4)));
        }
    }
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const auto& line : lines) {
        text += line + " ";
    }
    return text;
}

// The result's counts and first failure (dir left out), then the
// Favorites folder and the folder beside it.
std::string WholeResult(const ExportResult& result, const fs::path& dir) {
    auto text = result.ok ? std::string("written") : "refused: " + result.message.title + ":";
    auto failure = result.ok ? result.sFirstFailure : test::MessageText(result.message);
    for (auto at = failure.find(dir.string()); at != std::string::npos;
         at = failure.find(dir.string())) {
        failure.erase(at, dir.string().size());
    }
    text += " folders=" + std::to_string(result.nFoldersWritten) +
            " links=" + std::to_string(result.nLinksWritten) +
            " not=" + std::to_string(result.nLinksNotWritten) + " [" + failure +
            "] Fav: " + Snapshot(dir / "Fav", dir) + "outside: " + Snapshot(dir / "outside", dir);
    return text;
}

struct TargetRow {
    const char* fault;
    std::function<void(const fs::path& fav, const fs::path& outside)> prepare;
    std::function<void(WriteOptions&)> choose;
    std::string expected;
};

void NoChoice(WriteOptions&) {}

const std::string kOld = "[InternetShortcut]\r\nURL=http://old/\r\n";

// What the Favorites folder (Fav) and the folder beside it (outside) hold
// before an export of Home, News/Daily and News/Weekly.
const TargetRow kTargetRows[] = {
    {"ReExportAddedHomeUrlBesideHome_url",
     [](const fs::path& fav, const fs::path&) { WriteFile(fav / "Home.url", kOld); }, NoChoice,
     "written folders=1 links=3 not=0 [] Fav: Home.url=http://home/ News/ "
     "News/Daily.URL=http://daily/ "
     "News/Weekly.URL=http://weekly/ outside: "},
    {"ReExportAddedNewsBesideNews",
     [](const fs::path& fav, const fs::path&) { WriteFile(fav / "news" / "DAILY.URL", kOld); },
     NoChoice,
     "written folders=0 links=3 not=0 [] Fav: Home.URL=http://home/ news/ "
     "news/DAILY.URL=http://daily/ "
     "news/Weekly.URL=http://weekly/ outside: "},
    {"NamesDoubledByCaseEarlierAreNotDoubledAgain",
     [](const fs::path& fav, const fs::path&) {
         WriteFile(fav / "HOME.URL", kOld);
         WriteFile(fav / "home.url", kOld);
     },
     NoChoice,
     "written folders=1 links=3 not=0 [] Fav: HOME.URL=http://home/ News/ "
     "News/Daily.URL=http://daily/ News/Weekly.URL=http://weekly/ home.url=http://old/ outside: "},
    {"NewFolderAddedBesideItsOtherCase",
     [](const fs::path& fav, const fs::path&) { fs::create_directories(fav / "export"); },
     [](WriteOptions& options) { options.newFolder = "Export"; },
     "written folders=1 links=3 not=0 [] Fav: export/ export/Home.URL=http://home/ export/News/ "
     "export/News/Daily.URL=http://daily/ export/News/Weekly.URL=http://weekly/ outside: "},
    {"FolderLinkSentShortcutsIntoTheFolderItPointsTo",
     [](const fs::path& fav, const fs::path& outside) {
         fs::create_directories(outside);
         fs::create_directory_symlink(outside, fav / "news");
     },
     NoChoice,
     "written folders=0 links=1 not=2 [Cannot create the folder \"/Fav/news\": a symbolic link is "
     "in its place] Fav: Home.URL=http://home/ news -> /outside outside: "},
    {"ShortcutNamedLinkMadeTheExportOverwriteTheFileItPointsTo",
     [](const fs::path& fav, const fs::path& outside) {
         WriteFile(outside / "secret.txt", "keep");
         fs::create_symlink(outside / "secret.txt", fav / "Home.URL");
     },
     NoChoice,
     "written folders=1 links=2 not=1 [Cannot write \"/Fav/Home.URL\": a symbolic link is in its "
     "place] Fav: Home.URL -> /outside/secret.txt News/ News/Daily.URL=http://daily/ "
     "News/Weekly.URL=http://weekly/ outside: secret.txt=keep "},
    {"LinkNamedLikeAShortcutInOtherCaseIsNotWrittenThrough",
     [](const fs::path& fav, const fs::path& outside) {
         WriteFile(outside / "secret.txt", "keep");
         fs::create_symlink(outside / "secret.txt", fav / "home.url");
     },
     NoChoice,
     "written folders=1 links=2 not=1 [Cannot write \"/Fav/home.url\": a symbolic link is in its "
     "place] Fav: News/ News/Daily.URL=http://daily/ News/Weekly.URL=http://weekly/ home.url -> "
     "/outside/secret.txt outside: secret.txt=keep "},
    {"ExistingSubfolderClimbedOutWithDotDot",
     [](const fs::path&, const fs::path& outside) { fs::create_directories(outside); },
     [](WriteOptions& options) { options.existingFolder = "../outside"; },
     "refused: Selected Subfolder Is Not Inside Favorites: folders=0 links=0 not=0 [The Selected "
     "Subfolder Where To Export The Bookmarks\nIs Not Inside The Favorites Folder. Please, "
     "Change Selection.\n../outside] Fav: outside: "},
    {"AbsoluteExistingSubfolderWroteAnywhere",
     [](const fs::path&, const fs::path& outside) { fs::create_directories(outside); },
     [](WriteOptions& options) { options.existingFolder = fs::temp_directory_path().string(); },
     "refused: Selected Subfolder Is Not Inside Favorites: folders=0 links=0 not=0 [The Selected "
     "Subfolder Where To Export The Bookmarks\nIs Not Inside The Favorites Folder. Please, "
     "Change Selection.\n" +
         fs::temp_directory_path().string() + "] Fav: outside: "},
    {"ExistingSubfolderThroughAFolderLink",
     [](const fs::path& fav, const fs::path& outside) {
         fs::create_directories(outside / "in");
         fs::create_directory_symlink(outside, fav / "linked");
     },
     [](WriteOptions& options) { options.existingFolder = "linked/in"; },
     "refused: Selected Subfolder Is Not Inside Favorites: folders=0 links=0 not=0 [The Selected "
     "Subfolder Where To Export The Bookmarks\nIs Not Inside The Favorites Folder. Please, "
     "Change Selection.\nlinked/in] Fav: linked -> /outside outside: in/ "},
};

TEST(HostileFavoritesWriter, LinksAndLetterCaseInTheTarget) {
    for (const auto& row : kTargetRows) {
        TempDir dir;
        fs::create_directories(dir.path() / "Fav");
        fs::create_directories(dir.path() / "outside");
        row.prepare(dir.path() / "Fav", dir.path() / "outside");
        auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
            sink.AddLink("Home", "http://home/");
            sink.BeginFolder("News");
            sink.AddLink("Daily", "http://daily/");
            sink.AddLink("Weekly", "http://weekly/");
            sink.EndFolder();
        });
        WriteOptions options;
        row.choose(options);
        NullProgress progress;
        auto result = ExportToFavorites(tree, (dir.path() / "Fav").string(), options, progress);
        EXPECT_EQ(WholeResult(result, dir.path()), row.expected) << row.fault;
    }
}

// A chain of folders "d", levels deep, with a link "x" in each.
BookmarkTree DeepTree(int levels) {
    return test::TreeFromEvents([levels](BookmarkSink& sink) {
        for (int level = 0; level < levels; ++level) {
            sink.BeginFolder("d");
            sink.AddLink("x", "http://x/");
        }
        for (int level = 0; level < levels; ++level) {
            sink.EndFolder();
        }
    });
}

// What the chain of directories "d" below root holds: how deep it goes,
// and in how many of its directories the link "x" is.
struct Chain {
    int folders = 0;
    int links = 0;
};

Chain ChainOnDisk(fs::path root) {
    Chain chain;
    std::error_code error;
    while (fs::is_directory(root / "d", error)) {
        root /= "d";
        ++chain.folders;
        chain.links += fs::is_regular_file(root / "x.URL", error) ? 1 : 0;
    }
    return chain;
}

struct DeepRow {
    const char* fault;
    int levels;
};

// The file system stops making folders once the path exceeds its limit.
const DeepRow kDeepRows[] = {
    {"FoldersPastThePathLimitWereCountedAsWritten", 3'000},
    {"EachLevelKeptAFullPathSoDeepTreesExhaustedMemory", 100'000},
};

TEST(HostileFavoritesWriterScale, DeepTreesWriteWhatThePathLimitAllowsAndCountIt) {
    for (const auto& row : kDeepRows) {
        TempDir dir;
        auto fav = dir.path() / "Fav";
        fs::create_directories(fav);
        auto tree = DeepTree(row.levels);
        NullProgress progress;
        auto result = ExportToFavorites(tree, fav.string(), {}, progress);
        auto made = ChainOnDisk(fav);
        ASSERT_GT(made.links, 1000) << row.fault;
        ASSERT_LT(made.folders, row.levels) << row.fault;
        // The first link past the limit is the first failure; no folder or
        // link past it counts as written.
        std::string firstLost = fav.string();
        for (int level = 0; level <= made.links; ++level) {
            firstLost += "/d";
        }
        auto summary = std::to_string(result.nFoldersWritten) + " folders, " +
                       std::to_string(result.nLinksWritten) + " links, " +
                       std::to_string(result.nLinksNotWritten) + " not: " + result.sFirstFailure;
        EXPECT_EQ(summary, std::to_string(made.folders) + " folders, " +
                               std::to_string(made.links) + " links, " +
                               std::to_string(row.levels - made.links) + " not: Cannot write \"" +
                               firstLost + "/x.URL\": File name too long")
            << row.fault;
    }
}

TEST(HostileFavoritesWriterScale, NumberingRestartedAtTwoForEveryCollidingName) {
    // 20,000 names of 300 bytes that differ only past the 251 bytes a stem
    // keeps: each tried every number from 2 up.
    constexpr int kNames = 20'000;
    const std::string common(300, 'n');
    TempDir dir;
    auto fav = dir.path() / "Fav";
    fs::create_directories(fav);
    auto tree = test::TreeFromEvents([&](BookmarkSink& sink) {
        for (int i = 0; i < kNames; ++i) {
            sink.AddLink(common + std::to_string(i), "http://n/");
        }
    });
    WriteOptions options;
    NullProgress progress;
    auto result = ExportToFavorites(tree, fav.string(), options, progress, FileNameRules::Posix);
    EXPECT_TRUE(result.Complete()) << result.sFirstFailure;
    std::vector<std::string> expected;
    for (int i = 1; i <= kNames; ++i) {
        auto suffix = i == 1 ? std::string() : "(" + std::to_string(i) + ")";
        expected.push_back(common.substr(0, 251 - suffix.size()) + suffix + ".URL");
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(fav), expected);
}

} // namespace
} // namespace tellavin
