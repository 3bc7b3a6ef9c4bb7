// The Windows platform layer against the real system (run under Wine on
// the build machines): known folders, the registry, the process snapshot.
#include "platform/file_checks.h"
#include "platform/platform.h"
#include "platform/running_process.h"
#include "platform/wide_text.h"
#include "sources/store_discovery.h"
#include "support/named_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace tellavin {
namespace {

TEST(WindowsPlatform, KnownFoldersLieInTheUsersProfile) {
    auto& platform = SystemPlatform();
    auto profile = platform.GetEnvironment("USERPROFILE");
    ASSERT_TRUE(profile);
    auto favorites = platform.GetSpecialFolder(SpecialFolder::Favorites);
    ASSERT_TRUE(favorites);
    EXPECT_EQ(*favorites, *profile + "\\Favorites");
    EXPECT_TRUE(FolderExists(*favorites));
    EXPECT_EQ(LocateFavoritesFolder(platform), *favorites);
    EXPECT_EQ(platform.GetSpecialFolder(SpecialFolder::Home), profile);
    EXPECT_EQ(platform.GetSpecialFolder(SpecialFolder::AppData),
              platform.GetEnvironment("APPDATA"));
}

TEST(WindowsPlatform, UserNameAndProgramPathComeFromTheSystem) {
    auto& platform = SystemPlatform();
    EXPECT_EQ(platform.GetCurrentUserName(), platform.GetEnvironment("USERNAME").value_or(""));
    auto program = platform.GetExecutablePath();
    ASSERT_TRUE(program);
    EXPECT_TRUE(program->ends_with("\\tellavin_unit_tests.exe")) << *program;
    EXPECT_TRUE(FileExists(*program));
}

TEST(WindowsPlatform, EnvironmentTextIsUtf8AndAnUnsetVariableIsNothing) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"TELLAVIN_TEST_TEXT", L"Caf\u00e9 \u6f22\u5b57"));
    EXPECT_EQ(SystemPlatform().GetEnvironment("TELLAVIN_TEST_TEXT"), "Caf\u00e9 \u6f22\u5b57");
    ASSERT_TRUE(SetEnvironmentVariableW(L"TELLAVIN_TEST_TEXT", nullptr));
    EXPECT_EQ(SystemPlatform().GetEnvironment("TELLAVIN_TEST_TEXT"), std::nullopt);
}

// A key of the test's own under the current user, removed afterwards.
class RegistryKey : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(path).c_str(), 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, WideFromUtf8(path).c_str());
    }
    void Set(const wchar_t* name, DWORD type, const void* data, std::size_t size) {
        ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }

    std::string path = "Software\\Tellavin Test " + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
};

TEST_F(RegistryKey, EachKindOfValueReadsAsTheProgramUsesIt) {
    const wchar_t text[] = L"C:\\Program Files\\Op\u00e9ra\\";
    const wchar_t expandable[] = L"%APPDATA%\\Opera";
    const wchar_t multi[] = L"one\0two\0";
    const DWORD number = 0xFFFFFFFE;
    const BYTE bytes[] = {0, 1, 0xFF};
    const std::uint64_t wide = 7;
    Set(L"Text", REG_SZ, text, sizeof text);
    Set(L"Expandable", REG_EXPAND_SZ, expandable, sizeof expandable);
    Set(L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    Set(L"Number", REG_DWORD, &number, sizeof number);
    Set(L"Bytes", REG_BINARY, bytes, sizeof bytes);
    Set(L"Wide", REG_QWORD, &wide, sizeof wide);
    struct Row {
        std::string name;
        std::optional<RegistryValue> expected;
    };
    const Row rows[] = {
        {"Text", RegistryValue(std::string("C:\\Program Files\\Op\u00e9ra\\"))},
        {"Expandable", RegistryValue(std::string("%APPDATA%\\Opera"))},
        {"Multi", RegistryValue(std::string("one\0two", 7))},
        {"Number", RegistryValue(std::int32_t{-2})},
        {"Bytes", RegistryValue(std::vector<std::uint8_t>{0, 1, 0xFF})},
        {"Wide", std::nullopt},
        {"Missing", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SystemPlatform().QueryRegistryValue(RegistryRoot::CurrentUser, path, row.name),
                  row.expected)
            << row.name;
    }
    EXPECT_EQ(
        SystemPlatform().QueryRegistryValue(RegistryRoot::CurrentUser, path + "\\Missing", "Text"),
        std::nullopt);
}

TEST(WindowsProcesses, ANamedProcessIsSeenWhileItRunsAndGoneAfter) {
    test::TempDir dir;
    ASSERT_EQ(IsProcessRunning(SystemPlatform(), "FIREFOX.EXE"), false);
    test::NamedProcess firefox(dir.path(), "firefox.exe");
    test::NamedProcess backup(dir.path(), "opera.exe.bak");
    auto names = SystemPlatform().ListProcessNames();
    ASSERT_TRUE(names);
    EXPECT_NE(std::find(names->begin(), names->end(), "firefox.exe"), names->end());
    struct Row {
        std::string_view name;
        bool running;
    };
    for (const Row& row : {Row{"FIREFOX.EXE", true}, Row{"firefox.exe", true},
                           Row{"firefox", false}, Row{"opera.exe", false}}) {
        EXPECT_EQ(IsProcessRunning(SystemPlatform(), row.name), row.running) << row.name;
    }
    firefox.Stop();
    EXPECT_EQ(IsProcessRunning(SystemPlatform(), "firefox.exe"), false);
}

} // namespace
} // namespace tellavin
