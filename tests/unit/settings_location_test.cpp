// Where each kind of copy of the program keeps its settings, and where it
// finds what was installed with it.
#include "settings/color_presets.h"
#include "settings/setting_store.h"
#include "settings/settings_location.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// The folders and files a case lays out below a temporary folder, and where
// the settings should then lie ("config" for the configuration folder).
struct CopyCase {
    const char* name;
    const char* program;
    std::vector<const char*> files;
    std::vector<const char*> folders;
    const char* settingsFolder;
};

TEST(SettingsLocation, EachKindOfCopyKeepsItsSettingsWhereItsUserLooks) {
    const std::vector<CopyCase> cases = {
        {"installed into a writable folder (~/.local)",
         "prefix/bin/tellavin",
         {"prefix/share/tellavin/ColorPreset.ini"},
         {},
         "config/tellavin"},
        {"installed, the command line",
         "prefix/bin/tellavin-cli",
         {"prefix/share/tellavin/Help.html"},
         {},
         "config/tellavin"},
        {"portable copy with its settings file",
         "stick/tellavin",
         {"stick/tellavin.ini"},
         {},
         "stick"},
        {"installed copy made portable by a settings file",
         "prefix/bin/tellavin",
         {"prefix/bin/tellavin.ini", "prefix/share/tellavin/Help.html"},
         {},
         "prefix/bin"},
        {"portable folder without a settings file yet", "stick/tellavin", {}, {"stick"}, "stick"},
        {"a bin folder with nothing installed beside it",
         "build/bin/tellavin",
         {},
         {"build/bin", "build/share"},
         "build/bin"},
        {"a settings folder in the settings file's place",
         "prefix/bin/tellavin",
         {"prefix/share/tellavin/Help.html"},
         {"prefix/bin/tellavin.ini"},
         "config/tellavin"},
        {"a folder the user cannot write (missing here)",
         "gone/bin/tellavin",
         {},
         {},
         "config/tellavin"},
    };
    for (const auto& copy : cases) {
        SCOPED_TRACE(copy.name);
        TempDir dir;
        for (const char* file : copy.files) {
            WriteFile(dir.path() / file, "");
        }
        for (const char* folder : copy.folders) {
            fs::create_directories(dir.path() / folder);
        }
        test::FakePlatform platform;
        platform.executablePath = dir / copy.program;
        platform.folders[SpecialFolder::AppData] = dir / "config";
        EXPECT_EQ(SettingsFolder(platform), dir / copy.settingsFolder);
    }
}

// Installed with cmake --install into ~/.local, both programs wrote their
// settings into ~/.local/bin, a folder shared with every other program
// installed there.
TEST(SettingsLocation, InstalledCopyInAWritableFolderKeepsItsSettingsInTheConfigFolder) {
    TempDir dir;
    WriteFile(dir.path() / ".local/share/tellavin/Help.html", "");
    fs::create_directories(dir.path() / ".local/bin");
    test::FakePlatform platform;
    platform.folders[SpecialFolder::AppData] = dir / ".config";
    for (const char* program : {"tellavin", "tellavin-cli"}) {
        platform.executablePath = dir / (std::string(".local/bin/") + program);
        CSetting settings(platform);
        settings.UpdateSettingStr("Settings", "TotalItemsExported", [](auto value) {
            return std::to_string(value ? std::stoi(std::string(*value)) + 12 : 12);
        });
        InstallBuiltinPresets(platform);
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
        if (entry.is_regular_file()) {
            left.push_back(fs::relative(entry.path(), dir.path()).generic_string());
        }
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".config/tellavin/ColorPreset.ini",
                                              ".config/tellavin/tellavin.ini",
                                              ".local/share/tellavin/Help.html"}));
    EXPECT_EQ(ReadFile(dir.path() / ".config/tellavin/tellavin.ini"),
              "[Settings]\r\nTotalItemsExported=24\r\n");
}

TEST(InstalledFiles, BesideTheProgramFirstThenTheInstalledDataFolder) {
    struct Case {
        const char* name;
        const char* programFolder;
        std::vector<const char*> files;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"beside the program", "build/bin", {"build/bin/Help.html"}, "build/bin/Help.html"},
        {"installed", "usr/bin", {"usr/share/tellavin/Help.html"}, "usr/share/tellavin/Help.html"},
        {"both: the one beside wins",
         "usr/bin",
         {"usr/bin/Help.html", "usr/share/tellavin/Help.html"},
         "usr/bin/Help.html"},
        {"neither: named beside the program",
         "usr/bin",
         {"usr/share/tellavin/Other.html"},
         "usr/bin/Help.html"},
        {"a program folder not named bin has no data folder",
         "opt/tellavin",
         {"opt/share/tellavin/Help.html"},
         "opt/tellavin/Help.html"},
    };
    for (const auto& file : cases) {
        SCOPED_TRACE(file.name);
        TempDir dir;
        fs::create_directories(dir.path() / file.programFolder);
        for (const char* path : file.files) {
            WriteFile(dir.path() / path, "");
        }
        EXPECT_EQ(InstalledFile(dir / file.programFolder, "Help.html"), dir / file.expected);
    }
}

// An installed copy, whose presets file would lie in <prefix>/share/tellavin.
class InstalledPresets : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "usr/bin");
        fs::create_directories(dir.path() / "usr/share/tellavin");
        platform.executablePath = dir / "usr/bin/tellavin";
        platform.folders[SpecialFolder::AppData] = dir / "config";
    }
    std::string UserFile() const {
        return ReadFile(dir.path() / "config/tellavin/ColorPreset.ini");
    }

    TempDir dir;
    test::FakePlatform platform;
};

TEST_F(InstalledPresets, AreCopiedIntoTheUsersFileOnFirstUseAndOnceForEachVersion) {
    WriteFile(dir.path() / "usr/share/tellavin/ColorPreset.ini",
              "[Version]\nVersion=3\n[Dusk]\nVersion=3\nColor0=1\nColor1=2\n"
              "[Old]\nVersion=1\nColor0=5\n[Plain]\nColor0=7\n");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(UserFile(), "[Dusk]\r\nColor0=1\r\nColor1=2\r\n[Old]\r\nColor0=5\r\n"
                          "[Plain]\r\nColor0=7\r\n[Version]\r\nVersion=3\r\n");

    // A user at version 2 who deleted "Old" gets only what came later.
    WriteFile(dir.path() / "config/tellavin/ColorPreset.ini", "[Version]\r\nVersion=2\r\n");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(UserFile(), "[Version]\r\nVersion=3\r\n[Dusk]\r\nColor0=1\r\nColor1=2\r\n"
                          "[Plain]\r\nColor0=7\r\n");
}

TEST_F(InstalledPresets, AFileWithoutAVersionLeavesTheBuiltinOnes) {
    WriteFile(dir.path() / "usr/share/tellavin/ColorPreset.ini", "[Dusk]\nColor0=1\n");
    InstallBuiltinPresets(platform);
    auto withBroken = UserFile();
    fs::remove_all(dir.path() / "config");
    fs::remove(dir.path() / "usr/share/tellavin/ColorPreset.ini");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(withBroken, UserFile());
}

// The presets file that is installed gives the user the same presets as a
// copy that has none installed.
TEST_F(InstalledPresets, TheShippedFileHoldsTheBuiltinPresets) {
    InstallBuiltinPresets(platform);
    auto builtin = UserFile();
    fs::remove_all(dir.path() / "config");
    fs::copy_file(TELLAVIN_RESOURCES "/data/ColorPreset.ini",
                  dir.path() / "usr/share/tellavin/ColorPreset.ini");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(UserFile(), builtin);
}

} // namespace
} // namespace tellavin
