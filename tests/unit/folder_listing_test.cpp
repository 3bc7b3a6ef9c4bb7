#include "platform/folder_listing.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

using test::TempDir;
using test::WriteFile;

std::string TypeName(ListedType type) {
    switch (type) {
    case ListedType::File:
        return "file";
    case ListedType::Folder:
        return "folder";
    case ListedType::SymbolicLink:
        return "link";
    default:
        return "other";
    }
}

// Every entry with its own type, what it leads to, and whether its time is
// known (and right), sorted by name.
std::string Describe(const std::string& folder, bool withTimes, std::int64_t expectedTime) {
    auto entries = ListFolder(folder, withTimes);
    if (!entries) {
        return "unlistable";
    }
    std::sort(entries->begin(), entries->end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    std::string text;
    for (const auto& entry : *entries) {
        text += entry.name + ":" + TypeName(entry.type) + ">" + TypeName(entry.target);
        if (entry.modified) {
            text += *entry.modified == expectedTime ? "@time" : "@wrong";
        }
        text += " ";
    }
    return text;
}

// Links are told from what they lead to, a link that leads nowhere leads to
// "other", and times are those of what an entry leads to, only when asked.
TEST(ListFolder, TellsEntriesLinksAndTimes) {
    namespace fs = std::filesystem;
    TempDir dir;
    WriteFile(dir.path() / "file.url", "x");
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink(dir.path() / "file.url", dir.path() / "to-file");
    fs::create_directory_symlink(dir.path() / "sub", dir.path() / "to-sub");
    fs::create_symlink(dir.path() / "gone", dir.path() / "to-nothing");
    const std::chrono::sys_seconds time{std::chrono::seconds{1577923200}}; // 2020-01-02
    for (const char* name : {"file.url", "sub"}) {
        fs::last_write_time(dir.path() / name, std::chrono::file_clock::from_sys(time));
    }
    EXPECT_EQ(Describe(dir.path().string(), false, 0),
              "file.url:file>file sub:folder>folder to-file:link>file to-nothing:link>other "
              "to-sub:link>folder ");
    EXPECT_EQ(Describe(dir.path().string(), true, time.time_since_epoch().count()),
              "file.url:file>file@time sub:folder>folder@time to-file:link>file@time "
              "to-nothing:link>other to-sub:link>folder@time ");
    EXPECT_EQ(Describe((dir.path() / "missing").string(), false, 0), "unlistable");
}

} // namespace
} // namespace tellavin
