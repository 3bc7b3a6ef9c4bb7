// Files on a real Windows file system (run under Wine on the build
// machines): the read-only attribute, replacing a file in one step, paths
// beyond the classic 260 characters and names Windows changes or refuses.
#include "platform/atomic_file.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/wide_text.h"
#include "sources/favorites_walk.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderListing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(Utf8FromPath(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

TEST(WindowsFiles, TheReadOnlyAttributeMakesAFileReadOnlyAndRefusesTheReplace) {
    test::TempDir dir;
    auto path = dir / "bookmarks.html";
    test::WriteFile(path, "old bytes\r\n");
    EXPECT_FALSE(IsReadOnly(path));
    ASSERT_TRUE(SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(IsReadOnly(path));
    EXPECT_TRUE(FileExists(path));

    auto result = WriteFileAtomically(path, "new");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
    EXPECT_EQ(test::ReadFile(path), "old bytes\r\n");
    EXPECT_EQ(FolderListing(dir.path()), std::vector<std::string>{"bookmarks.html"});
    SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFiles, AReplaceThatFailsLeavesTheOldFileByteForByte) {
    test::TempDir dir;
    auto path = dir / "opera6.adr";
    const std::string old("Opera Hotlist version 2.0\r\n\0\xFF end", 32);
    test::WriteFile(path, old);
    // Another program holds the file open without letting it be deleted or
    // renamed: the rename over it fails.
    HANDLE held = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto result = WriteFileAtomically(path, std::string(100000, 'x'));
    CloseHandle(held);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(path), std::string::npos) << result.message;
    EXPECT_EQ(test::ReadFile(path), old);
    EXPECT_EQ(FolderListing(dir.path()), std::vector<std::string>{"opera6.adr"});
}

// The streaming writer sends blocks to its temporary file before Commit;
// when the move at the end fails, or the folder is missing so no temporary
// file can be made, the old file stays byte for byte, nothing else is left
// and the failure gives Windows' own reason.
TEST(WindowsFiles, AStreamedReplaceThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    struct Row {
        const char* what;
        const char* name;
        DWORD reason;
    };
    const Row rows[] = {
        {"target held open", "held.adr", ERROR_ACCESS_DENIED},
        {"folder missing", "no such folder\\out.adr", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& row : rows) {
        test::TempDir dir;
        const std::string old("old\r\n\0\xFF", 7);
        test::WriteFile(dir / "held.adr", old);
        HANDLE held = CreateFileW(WidePath(dir / "held.adr").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        auto path = dir / row.name;
        WriteResult result;
        {
            AtomicFileWriter writer(path);
            writer.Buffer().assign(2 * AtomicFileWriter::kBlockBytes, 'x');
            writer.WriteIfFull();
            writer.Write("end");
            result = writer.Commit();
        }
        CloseHandle(held);
        EXPECT_EQ(result.message, "Cannot write \"" + path + "\": " + SystemErrorText(row.reason))
            << row.what;
        EXPECT_EQ(test::ReadFile(dir / "held.adr"), old) << row.what;
        EXPECT_EQ(FolderListing(dir.path()), std::vector<std::string>{"held.adr"}) << row.what;
    }
}

TEST(WindowsFiles, AReplacedFileKeepsItsAttributesAndANewFileGetsNone) {
    test::TempDir dir;
    auto hidden = dir / "hidden.html";
    test::WriteFile(hidden, "old");
    ASSERT_TRUE(SetFileAttributesW(WidePath(hidden).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(WriteFileAtomically(hidden, "new").ok);
    EXPECT_EQ(test::ReadFile(hidden), "new");
    EXPECT_EQ(AttributesOf(hidden) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN});

    auto fresh = dir / "fresh.html";
    ASSERT_TRUE(WriteFileAtomically(fresh, "made").ok);
    EXPECT_EQ(AttributesOf(fresh) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), DWORD{0});
    EXPECT_EQ(FolderListing(dir.path()), (std::vector<std::string>{"fresh.html", "hidden.html"}));
}

TEST(WindowsFiles, PathsBeyondTwoHundredSixtyCharactersAreWrittenCheckedAndListed) {
    test::TempDir dir;
    std::string folder = Utf8FromPath(dir.path());
    // Four folders of 80 characters each take the path past 300.
    for (int level = 0; level < 4; ++level) {
        folder += "\\" + std::string(79, static_cast<char>('a' + level)) + "\u00e9";
        ASSERT_TRUE(CreateDirectoryW(WidePath(folder).c_str(), nullptr)) << folder.size();
    }
    auto path = folder + "\\bookmarks.html";
    ASSERT_GT(path.size(), 300u);
    ASSERT_TRUE(WriteFileAtomically(path, "deep").ok);
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(PathExists(folder + "\\new.html"));
    EXPECT_FALSE(IsReadOnly(path));
    EXPECT_TRUE(FolderIsWritable(folder));
    ASSERT_TRUE(WriteFileAtomically(path, "deeper").ok);
    EXPECT_EQ(ReadWholeFile(path), "deeper");
    // The C runtime's listing of a folder this deep lists the current
    // folder instead; a Favorites folder's listing must not.
    ASSERT_TRUE(
        WriteFileAtomically(folder + "\\Deep.url", "[InternetShortcut]\r\nURL=http://deep/\r\n")
            .ok);
    auto entries = ReadFavoritesDirectory(folder);
    ASSERT_TRUE(entries);
    std::vector<std::string> names;
    for (const auto& entry : *entries) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, std::vector<std::string>{"Deep.url"});
}

TEST(WindowsFiles, ChecksOnFoldersFilesAndDrives) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "a.html", "a");
    const std::string base = Utf8FromPath(dir.path());
    struct Row {
        std::string path;
        bool folderExists, fileExists, pathExists, readOnly;
    };
    const Row rows[] = {
        {base, true, false, true, false},
        {base + "\\a.html", false, true, true, false},
        {base + "/a.html", false, true, true, false},
        {base + "\\new.html", false, false, true, false},
        {base + "\\none\\new.html", false, false, false, false},
        {"C:\\", true, false, true, false},
        {"C:\\new.html", false, false, true, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(std::make_tuple(FolderExists(row.path), FileExists(row.path),
                                  PathExists(row.path), IsReadOnly(row.path)),
                  std::make_tuple(row.folderExists, row.fileExists, row.pathExists, row.readOnly))
            << row.path;
    }
}

// The date of a link is the day of its file's last write, as the system
// keeps it in 100-nanosecond ticks since 1601. Midday keeps the day the
// same in every time zone; the rows cross a leap day and the end of 32-bit
// time.
TEST(WindowsFiles, LinkDatesAreTheDayOfTheLastWrite) {
    test::TempDir dir;
    struct Row {
        const char* name;
        WORD year, month, day;
    };
    const Row rows[] = {{"a.url", 1999, 12, 31}, {"b.url", 2024, 2, 29}, {"c.url", 2040, 7, 1}};
    for (const auto& row : rows) {
        auto path = dir / row.name;
        test::WriteFile(path, "[InternetShortcut]\r\nURL=http://example.com/\r\n");
        SYSTEMTIME noon{row.year, row.month, 0, row.day, 12, 0, 0, 0};
        FILETIME written{};
        ASSERT_TRUE(SystemTimeToFileTime(&noon, &written));
        HANDLE file = CreateFileW(WidePath(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
        CloseHandle(file);
    }
    auto entries = ReadFavoritesDirectory(Utf8FromPath(dir.path()));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), std::size(rows));
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const auto& row = rows[i];
        EXPECT_EQ((*entries)[i].date, std::chrono::year_month_day(std::chrono::year(row.year),
                                                                  std::chrono::month(row.month),
                                                                  std::chrono::day(row.day)))
            << row.name;
    }
}

} // namespace
} // namespace tellavin
