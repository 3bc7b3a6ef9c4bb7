// The settings store given text it cannot keep, and files it did not write.
#include "settings/setting_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Found by the fuzzer: a byte that is not UTF-8 made the whole file read as
// Windows-1252 afterwards, so the name it was saved under was never found
// again and every other accented value changed.
TEST(HostileSettings, TextThatIsNotUtf8IsRefusedAndChangesNothing) {
    TempDir dir;
    auto path = dir / "settings.ini";
    CSetting store;
    store.Init(path);
    store.SaveSettingStr("Settings", "Title", "Caf\xC3\xA9");
    auto before = ReadFile(path);
    for (auto [section, key, value] :
         {std::tuple{"Settings", "Path", "/home/caf\xE9"}, std::tuple{"Settings", "\xFF", "x"},
          std::tuple{"\xFF", "Key", "x"}}) {
        EXPECT_THROW(store.SaveSettingStr(section, key, value), SettingError) << key;
    }
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(store.GetSettingStr("Settings", "Title", ""), "Caf\xC3\xA9");
}

TEST(HostileSettings, FilesFromElsewhere) {
    TempDir dir;
    auto path = dir / "settings.ini";
    CSetting store;
    store.Init(path);
    WriteFile(path, "[Settings]\rTotalItemsExported=12\rTitle=Caf\xE9\r");
    EXPECT_EQ(store.GetSettingInt("Settings", "TotalItemsExported", 0), 12);
    EXPECT_EQ(store.GetSettingStr("Settings", "Title", ""), "Caf\xC3\xA9");
    store.SaveSettingStr("Settings", "Title", "Tea");
    EXPECT_EQ(ReadFile(path), "[Settings]\r\nTotalItemsExported=12\r\nTitle=Tea\r\n");

    WriteFile(path, "");
    EXPECT_EQ(store.GetSettingStr("Settings", "Title", "none"), "none");
    EXPECT_TRUE(store.GetSectionNames().empty());
}

} // namespace
} // namespace tellavin
