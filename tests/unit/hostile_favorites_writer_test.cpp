// Writing a Favorites folder over what is already on the disk, onto a full
// disk, and from names no file system takes.
#include "support/event_tree.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

std::vector<std::string> Listing(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        auto name = fs::relative(entry.path(), root).string();
        names.push_back(entry.is_directory() ? name + "/" : name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

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

} // namespace
} // namespace tellavin
