// Internet Shortcut files against Windows' own profile functions: what the
// Favorites writer writes, Windows reads as the same address, and what
// Windows writes, the project's INI reader reads as Windows does.
#include "platform/file_io.h"
#include "platform/wide_text.h"
#include "sources/internet_shortcut.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "targets/favorites_writer.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace tellavin {
namespace {

// The value Windows' profile functions read for a key.
std::string ProfileValue(const std::string& file, const wchar_t* section, const wchar_t* key) {
    std::wstring value(4096, L'\0');
    DWORD length = GetPrivateProfileStringW(
        section, key, L"", value.data(), static_cast<DWORD>(value.size()), WidePath(file).c_str());
    value.resize(length);
    return Utf8FromWide(value);
}

// Addresses that test the writer's quoting and encoding and the profile
// rules: blanks at either end, quotes, ';' and '=', non-ASCII text.
const char* const kAddresses[] = {
    "http://example.com/",
    "http://example.com/a;b=c?d=\"e\"#f",
    "  http://example.com/padded  ",
    "\"http://example.com/quoted\"",
    "http://example.com/caf\u00e9/\u6f22\u5b57",
    "file:///C:/Users/Ann/My%20Documents/",
    "javascript:void(window.open('x','y'))",
};

TEST(ShortcutsAndProfiles, WindowsReadsTheWritersShortcutsAsTheProjectReaderDoes) {
    test::TempDir dir;
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        int number = 0;
        for (const char* address : kAddresses) {
            sink.AddLink("link " + std::to_string(number++), address);
        }
    });
    WriteOptions options;
    auto result = ExportToFavorites(tree, Utf8FromPath(dir.path()), options, test::NoProgress());
    ASSERT_TRUE(result.Complete());
    for (int number = 0; number < static_cast<int>(std::size(kAddresses)); ++number) {
        auto file = dir / ("link " + std::to_string(number) + ".URL");
        EXPECT_EQ(ProfileValue(file, L"InternetShortcut", L"URL"), ReadShortcutUrl(file))
            << kAddresses[number];
    }
}

TEST(ShortcutsAndProfiles, TheProjectReadsShortcutsWrittenByWindowsAsWindowsDoes) {
    test::TempDir dir;
    int number = 0;
    for (const char* address : kAddresses) {
        auto file = dir / ("windows " + std::to_string(number++) + ".url");
        ASSERT_TRUE(WritePrivateProfileStringW(
            L"InternetShortcut", L"URL", WideFromUtf8(address).c_str(), WidePath(file).c_str()));
        ASSERT_TRUE(WritePrivateProfileStringW(L"InternetShortcut", L"IconFile",
                                               L"C:\\Icons\\site.ico", WidePath(file).c_str()));
        auto fields = ReadShortcutFields(file);
        EXPECT_EQ(std::make_pair(fields.url, fields.iconFile),
                  std::make_pair(ProfileValue(file, L"InternetShortcut", L"URL"),
                                 ProfileValue(file, L"InternetShortcut", L"IconFile")))
            << address;
    }
}

} // namespace
} // namespace tellavin
