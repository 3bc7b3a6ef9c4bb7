#include "platform/atomic_file.h"
#include "platform/file_checks.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "targets/backup_copy.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

bool RunningAsRoot() {
    return geteuid() == 0;
}

TEST(FileChecks, ExistenceOfFilesFoldersAndCreatablePaths) {
    TempDir dir;
    WriteFile(dir.path() / "b.html", "x");
    EXPECT_TRUE(FileExists(dir / "b.html"));
    EXPECT_FALSE(FileExists(dir / "missing.html"));
    EXPECT_FALSE(FileExists(dir.path().string()));
    EXPECT_TRUE(FolderExists(dir.path().string()));
    EXPECT_FALSE(FolderExists(dir / "b.html"));
    EXPECT_TRUE(PathExists(dir / "new.html"));          // folder exists
    EXPECT_FALSE(PathExists(dir / "nowhere/new.html")); // folder missing
    EXPECT_FALSE(PathExists("no-separator-and-missing.html"));
}

TEST(FileChecks, ReadOnlyMeansTheUserCannotWriteIt) {
    TempDir dir;
    auto file = dir / "b.html";
    WriteFile(file, "x");
    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_FALSE(IsReadOnly(dir / "missing.html"));
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(IsReadOnly(file));
    if (RunningAsRoot()) {
        return;
    }
    fs::permissions(file, fs::perms::all);
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(IsReadOnly(file)); // the file itself may be written
    fs::permissions(file, fs::perms::owner_read | fs::perms::others_write);
    EXPECT_TRUE(IsReadOnly(file)); // others may, this user may not
}

TEST(BackupCopy, NamedBesideTheTargetAndCopied) {
    EXPECT_EQ(BackupPathFor("/x/bookmarks.html"), "/x/Backup_of_bookmarks.html");
    EXPECT_EQ(BackupPathFor("bookmarks.html"), "Backup_of_bookmarks.html");
    TempDir dir;
    WriteFile(dir.path() / "bookmarks.html", "old content");
    EXPECT_TRUE(MakeBackupCopy(dir / "bookmarks.html").ok);
    EXPECT_EQ(ReadFile(dir.path() / "Backup_of_bookmarks.html"), "old content");
    auto missing = MakeBackupCopy(dir / "missing.html");
    EXPECT_EQ(missing.message,
              "Cannot read \"" + (dir / "missing.html") + "\": No such file or directory");
    EXPECT_FALSE(fs::exists(dir.path() / "Backup_of_missing.html"));
}

TEST(AtomicWrite, ReplacesContentAndKeepsPermissions) {
    TempDir dir;
    auto file = dir / "b.html";
    ASSERT_TRUE(WriteFileAtomically(file, "first").ok);
    EXPECT_EQ(ReadFile(file), "first");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(file, "second").ok);
    EXPECT_EQ(ReadFile(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(AtomicWrite, FailureNamesThePathAndLeavesTheOldFile) {
    TempDir dir;
    auto missingFolder = dir / "nowhere/b.html";
    auto result = WriteFileAtomically(missingFolder, "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(missingFolder), std::string::npos);
    EXPECT_NE(result.message.find("No such file or directory"), std::string::npos);

    fs::create_directories(dir.path() / "target.html");
    EXPECT_FALSE(WriteFileAtomically(dir / "target.html", "x").ok);

    // A disk that fills up half-way through the write.
    WriteFile(dir.path() / "full.html", "old");
    {
        test::FileSizeLimit limit(4096);
        auto full = WriteFileAtomically(dir / "full.html", std::string(10000, 'x'));
        EXPECT_FALSE(full.ok);
        EXPECT_NE(full.message.find("File too large"), std::string::npos) << full.message;
    }
    EXPECT_EQ(ReadFile(dir.path() / "full.html"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

} // namespace
} // namespace tellavin
