// Writing over a user's file when the disk is full, the path is wrong or
// the target is not a plain file: a clear error, and the old file exactly
// as it was.
#include "platform/atomic_file.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(HostileTarget, FullDiskFailsClearlyAndLeavesTheOldFile) {
    TempDir dir;
    auto target = dir / "bookmarks.html";
    WriteFile(target, "old content\r\n");
    WriteResult result;
    {
        test::FileSizeLimit limit(64 * 1024);
        result = WriteFileAtomically(target, std::string(1 << 20, 'x'));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Cannot write \"" + target + "\": File too large");
    EXPECT_EQ(ReadFile(target), "old content\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1u); // no temporary file left behind
}

TEST(HostileTarget, PathBelowARegularFile) {
    TempDir dir;
    WriteFile(dir.path() / "plain", "a file, not a folder");
    auto result = WriteFileAtomically(dir / "plain/bookmarks.html", "new");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("Not a directory"), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(dir.path() / "plain"), "a file, not a folder");
}

TEST(HostileTarget, FolderWhereTheFileShouldBe) {
    TempDir dir;
    WriteFile(dir.path() / "bookmarks.html" / "inside.txt", "kept");
    auto result = WriteFileAtomically(dir / "bookmarks.html", "new");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("Is a directory"), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(dir.path() / "bookmarks.html" / "inside.txt"), "kept");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(HostileTarget, SymbolicLinkIsWrittenThroughAndStays) {
    TempDir dir;
    WriteFile(dir.path() / "sync" / "bookmarks.html", "old");
    fs::create_directories(dir.path() / "profile");
    auto link = dir.path() / "profile" / "bookmarks.html";
    fs::create_symlink(dir.path() / "sync" / "bookmarks.html", link);
    ASSERT_TRUE(WriteFileAtomically(link.string(), "new").ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(dir.path() / "sync" / "bookmarks.html"), "new");
    EXPECT_EQ(EntriesIn(dir.path() / "sync"), 1u);

    // A link to nowhere is replaced by the file.
    auto dangling = dir.path() / "profile" / "hotlist.adr";
    fs::create_symlink(dir.path() / "gone" / "x.adr", dangling);
    ASSERT_TRUE(WriteFileAtomically(dangling.string(), "adr").ok);
    EXPECT_FALSE(fs::is_symlink(dangling));
    EXPECT_EQ(ReadFile(dangling), "adr");
}

struct OwnedFile {
    const char* fault;
    mode_t mode;
    uid_t owner;
    gid_t group;
};

// Another user's file replaced by root: before, the new file was root's and
// the owner could no longer read a 0600 file.
const OwnedFile kOwnedFiles[] = {
    {"ReplacingAnotherUsersPrivateFileMadeItRoots", 0600, 4321, 4321},
    {"ReplacingChangedTheGroupOfASharedFile", 0640, 4321, 8765},
    {"ReplacingDroppedTheSetGroupBit", 02750, 4321, 8765},
};

TEST(HostileTarget, ReplacedFileKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    for (const auto& row : kOwnedFiles) {
        TempDir dir;
        auto target = dir / "bookmarks.html";
        WriteFile(target, "old");
        ASSERT_EQ(::chown(target.c_str(), row.owner, row.group), 0);
        ASSERT_EQ(::chmod(target.c_str(), row.mode), 0);
        ASSERT_TRUE(WriteFileAtomically(target, "new").ok) << row.fault;
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        auto kept = std::to_string(info.st_uid) + ":" + std::to_string(info.st_gid) + " " +
                    std::to_string(info.st_mode & 07777) + " " + ReadFile(target);
        auto wanted = std::to_string(row.owner) + ":" + std::to_string(row.group) + " " +
                      std::to_string(row.mode) + " new";
        EXPECT_EQ(kept, wanted) << row.fault;
    }
}

} // namespace
} // namespace tellavin
