#include "platform/file_checks.h"
#include "platform/registry_value.h"
#include "settings/setting_store.h"
#include "settings/settings_location.h"
#include "support/fake_platform.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif
#include "support/temp_dir.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// A program installed in <tmp>/bin, with its user configuration folder in
// <tmp>/config.
class SettingStore : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin";
        platform.folders[SpecialFolder::AppData] = dir / "config";
    }
    CSetting Bound(std::optional<std::string> name = std::nullopt) {
        CSetting store(platform);
        store.Init(std::move(name));
        return store;
    }
    std::string SettingsFile() const { return dir / "bin/tellavin.ini"; }

    TempDir dir;
    test::FakePlatform platform;
};

SettingError CaughtError(const std::function<void()>& action) {
    try {
        action();
    } catch (const SettingError& error) {
        return error;
    }
    ADD_FAILURE() << "no SettingError raised";
    return SettingError(0, "", "");
}

TEST_F(SettingStore, InitBindsBareNamesBesideTheProgramAndPathsAsGiven) {
    auto settings = Bound();
    EXPECT_EQ(settings.AppName(), "tellavin");
    EXPECT_EQ(settings.IniFile(), SettingsFile());
    EXPECT_EQ(settings.SaveMode(), CSetting::kIniFileMode);
    EXPECT_EQ(Bound("  ColorPreset ").IniFile(), dir / "bin/ColorPreset.ini");
    EXPECT_EQ(Bound(dir / "Mozilla/Firefox/profiles.ini").IniFile(),
              dir / "Mozilla/Firefox/profiles.ini");

    CSetting unbound(platform);
    unbound.SaveSettingStr("Settings", "Backup", "1");
    EXPECT_EQ(unbound.IniFile(), SettingsFile());
    EXPECT_EQ(unbound.SaveMode(), 0);
    EXPECT_EQ(Bound().GetSettingStr("Settings", "Backup", ""), "1");
}

TEST_F(SettingStore, UnwritableProgramFolderMovesTheFilesToTheConfigFolder) {
    platform.executablePath = dir / "usr/bin/tellavin"; // a folder that is not there
    auto settings = Bound();
    EXPECT_EQ(settings.IniFile(), dir / "config/tellavin/tellavin.ini");
    EXPECT_EQ(Bound("ColorPreset").IniFile(), dir / "config/tellavin/ColorPreset.ini");
    settings.SaveSettingInt("Position", "MainLeft", 10);
    EXPECT_EQ(ReadFile(dir.path() / "config/tellavin/tellavin.ini"),
              "[Position]\r\nMainLeft=10\r\n");
}

TEST_F(SettingStore, ReadOnlyProgramFolderMovesTheFilesToTheConfigFolder) {
    platform.executablePath = dir / "usr/bin/tellavin";
    fs::create_directories(dir.path() / "usr/bin");
    fs::permissions(dir.path() / "usr/bin", fs::perms::owner_read | fs::perms::owner_exec);
    if (FolderIsWritable(dir / "usr/bin")) {
        GTEST_SKIP() << "running as root: a read-only folder stays writable";
    }
    EXPECT_EQ(Bound().IniFile(), dir / "config/tellavin/tellavin.ini");
}

#ifndef _WIN32
// The configuration folder of the POSIX desktops.
TEST(SettingsLocation, RealProgramAndConfigFolder) {
    auto home = SystemPlatform().GetSpecialFolder(SpecialFolder::Home);
    ASSERT_TRUE(home);
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
    for (const char* ignored : {"", "relative/config"}) {
        setenv("XDG_CONFIG_HOME", ignored, 1);
        EXPECT_EQ(SystemPlatform().GetSpecialFolder(SpecialFolder::AppData), *home + "/.config");
    }
    setenv("XDG_CONFIG_HOME", "/srv/config", 1);
    EXPECT_EQ(SystemPlatform().GetSpecialFolder(SpecialFolder::AppData), "/srv/config");
    if (previous) {
        setenv("XDG_CONFIG_HOME", previous->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}
#endif

TEST_F(SettingStore, MissingFileReadsDefaultsAndOnlyAWriteCreatesIt) {
    auto settings = Bound();
    EXPECT_EQ(settings.GetSettingStr("Settings", "PageTitle", " Bookmarks "), "Bookmarks");
    EXPECT_EQ(settings.GetSettingInt("Settings", "BreakAfter", 25), 25);
    EXPECT_TRUE(settings.GetSettingAll("Settings").empty());
    EXPECT_TRUE(settings.GetSectionNames().empty());
    settings.DeleteKey("Settings", "Backup");
    settings.DeleteKey("Settings");
    EXPECT_FALSE(fs::exists(SettingsFile()));
    settings.SaveSettingInt("Settings", "OldMerge", -1);
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\r\nOldMerge=-1\r\n");
    EXPECT_EQ(settings.GetSettingInt("Settings", "OldMerge", 0), -1);
}

TEST_F(SettingStore, LongValuesAndManySectionsSurviveInFileOrder) {
    std::vector<std::string> names{"Settings"};
    std::string file = "[Settings]\r\n";
    for (int i = 0; i < 300; ++i) {
        names.push_back("Preset number " + std::to_string(i));
        file += "[" + names.back() + "]\r\nColor0=" + std::to_string(i) + "\r\n";
    }
    WriteFile(SettingsFile(), file);
    auto settings = Bound();
    std::string longPath = "/home/ann/" + std::string(600, 'x') + "/bookmarks.html";
    settings.SaveSettingStr("Settings", "NNLocation0", longPath);
    settings.SaveSettingStr("Settings", "PageTitle", "Mine");
    settings.SaveSettingStr("settings", "nnlocation0", longPath + "!");
    EXPECT_EQ(settings.GetSettingStr("Settings", "NNLocation0", ""), longPath + "!");
    EXPECT_EQ(settings.GetSectionNames(), names);
    EXPECT_EQ(settings.GetSettingAll("SETTINGS"),
              (Pairs{{"NNLocation0", longPath + "!"}, {"PageTitle", "Mine"}}));
    EXPECT_EQ(settings.GetSettingInt("Preset number 299", "color0", 0), 299);
}

TEST_F(SettingStore, NumbersReadAsTheirLeadingWholeNumber) {
    WriteFile(SettingsFile(), "[S]\nmixed=12abc\nword=abc\nblank=\npadded=  -5 \nplus=+7\n"
                              "big=70000\nsmall=-40000\nhuge=99999999999999999999999\n");
    auto settings = Bound();
    EXPECT_EQ(settings.GetSettingInt("S", "mixed", 3), 12);
    EXPECT_EQ(settings.GetSettingInt("S", "word", 3), 3);
    EXPECT_EQ(settings.GetSettingInt("S", "blank", 3), 3);
    EXPECT_EQ(settings.GetSettingInt("S", "padded", 3), -5);
    EXPECT_EQ(settings.GetSettingInt("S", "plus", 3), 7);
    for (const char* key : {"big", "small", "huge"}) {
        SCOPED_TRACE(key);
        auto error = CaughtError([&] { settings.GetSettingInt("S", key, 0); });
        EXPECT_EQ(error.number(), kSettingReadError);
        EXPECT_EQ(error.number(), -2147220989);
        EXPECT_EQ(error.source(), "CSetting.GetSettingInt");
        EXPECT_EQ(error.description(), "Error reading Setting (6, Overflow)");
    }
    EXPECT_EQ(settings.GetSettingStr("S", "big", ""), "70000");
}

#ifndef _WIN32
// Windows sets no file-size limit on a process, so no write can be cut short this way there.
TEST_F(SettingStore, WriteFailuresRaiseNumberedErrorsAndLeaveTheFile) {
    fs::create_directories(SettingsFile()); // a folder where the file should be
    auto settings = Bound();
    auto error = CaughtError([&] { settings.SaveSettingStr("Settings", "Backup", "1"); });
    EXPECT_EQ(error.number(), kSettingWriteError);
    EXPECT_EQ(error.source(), "CSetting.SaveSettingStr");
    EXPECT_EQ(error.description().rfind("Error writing Setting (75, ", 0), 0)
        << error.description();
    EXPECT_NE(error.description().find(SettingsFile()), std::string::npos);
    EXPECT_EQ(CaughtError([&] { settings.SaveSettingInt("Settings", "Backup", 1); }).source(),
              "CSetting.SaveSettingInt");
    fs::remove(SettingsFile());

    const std::string before = "[Ice]\r\nColor0=4469555\r\n[TwinHelix]\r\nColor0=0\r\n"
                               "Color1=16777215\r\nColor2=14535884\r\n";
    WriteFile(SettingsFile(), before);
    {
        test::FileSizeLimit limit(before.size() - 30); // less than is left after a change
        error = CaughtError([&] { settings.DeleteKey("Ice", "Color0"); });
        EXPECT_EQ(error.number(), kKeyDeleteError);
        EXPECT_EQ(error.source(), "CSetting.DeleteKey");
        EXPECT_EQ(
            error.description(),
            "Error Deleting Key (-2147220987, Error Deleting Key (check if file is protected))");
        EXPECT_EQ(CaughtError([&] { settings.SaveSettingStr("Ice", "Color2", "1"); }).number(),
                  kSettingWriteError);
    }
    EXPECT_EQ(ReadFile(SettingsFile()), before);
    auto entries =
        std::distance(fs::directory_iterator(dir.path() / "bin"), fs::directory_iterator{});
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}
#endif

TEST_F(SettingStore, NamesAndValuesTheFileCannotHoldAreRefused) {
    auto settings = Bound();
    settings.SaveSettingStr("Settings", "Backup", "1");
    for (auto [section, key, value] :
         std::vector<std::array<std::string, 3>>{{"Ice]", "Color0", "1"},
                                                 {"Settings", "a=b", "1"},
                                                 {"Settings", "Title", "a\r\nB=2"}}) {
        auto error = CaughtError([&] { settings.SaveSettingStr(section, key, value); });
        EXPECT_EQ(error.number(), kSettingWriteError);
        EXPECT_EQ(error.description().rfind("Error writing Setting (5, ", 0), 0);
    }
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\r\nBackup=1\r\n");
}

TEST_F(SettingStore, DeleteKeyRemovesAKeyOrAWholeSection) {
    WriteFile(SettingsFile(), "[Ice]\r\nColor0=1\r\nColor1=2\r\n[TwinHelix]\r\nColor0=3\r\n"
                              "[Version]\r\nVersion=2\r\n");
    auto settings = Bound();
    settings.DeleteKey("ice", "COLOR0");
    settings.DeleteKey("TwinHelix");
    EXPECT_EQ(ReadFile(SettingsFile()), "[Ice]\r\nColor1=2\r\n[Version]\r\nVersion=2\r\n");
    EXPECT_EQ(settings.GetSectionNames(), (std::vector<std::string>{"Ice", "Version"}));
}

TEST_F(SettingStore, SavingTheSameValueLeavesTheFileAlone) {
    auto settings = Bound();
    settings.SaveSettingInt("Settings", "Backup", 1);
    struct stat before {};
    ASSERT_EQ(stat(SettingsFile().c_str(), &before), 0);
    settings.SaveSettingInt("settings", "backup", 1);
    struct stat after {};
    ASSERT_EQ(stat(SettingsFile().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(SettingStore, BrokenFilesReadAsDefaultsAndTheNextSaveWritesACleanFile) {
    auto settings = Bound();
    WriteFile(SettingsFile(), std::string("[Settings]\r\nBackup=0\0\0\xFF\x01", 22));
    EXPECT_EQ(settings.GetSettingInt("Settings", "Backup", 1), 1);
    EXPECT_TRUE(settings.GetSectionNames().empty());
    settings.SaveSettingInt("Settings", "LinksBefore", 1);
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\r\nLinksBefore=1\r\n");

    WriteFile(SettingsFile(), "[Settings]\nBackup=0\nBackup=2\n[Position]\nMainLeft=5\n"
                              "[SETTINGS]\nShadows=0\n");
    EXPECT_EQ(settings.GetSettingInt("Settings", "Backup", 1), 0);
    EXPECT_EQ(settings.GetSettingInt("Settings", "Shadows", 1), 1);
    EXPECT_EQ(settings.GetSectionNames(), (std::vector<std::string>{"Settings", "Position"}));
    settings.SaveSettingInt("Position", "MainLeft", 5);
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\r\nBackup=0\r\n[Position]\r\nMainLeft=5\r\n");
}

TEST_F(SettingStore, UnreadableFileReadsAsDefaultsAndTheNextSaveReplacesIt) {
    WriteFile(SettingsFile(), "[Settings]\r\nBackup=0\r\n");
    auto settings = Bound();
    fs::permissions(SettingsFile(), fs::perms::none);
    if (FileExists(SettingsFile())) {
        GTEST_SKIP() << "running as root: every file stays readable";
    }
    EXPECT_EQ(settings.GetSettingInt("Settings", "Backup", 1), 1);
    settings.SaveSettingInt("Settings", "Vertical", 1);
    fs::permissions(SettingsFile(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFile(SettingsFile()), "[Settings]\r\nVertical=1\r\n");
}

fs::path DataFile(const std::string& name) {
    return fs::path(TELLAVIN_TEST_DATA) / "settings" / name;
}

TEST_F(SettingStore, ReadsAFileWrittenByTheWindowsProfileFunctions) {
    auto settings = Bound(DataFile("windows-profile-crlf-ansi.ini").string());
    EXPECT_EQ(settings.GetSectionNames(),
              (std::vector<std::string>{"Position", "Settings", "Ice"}));
    EXPECT_EQ(settings.GetSettingInt("position", "SecLeft", 0), -120);
    EXPECT_EQ(settings.GetSettingStr("Settings", "FavLocation", ""),
              "C:\\Documents and Settings\\Ann\\Favoriten\\Caf\xC3\xA9");
    EXPECT_EQ(settings.GetSettingInt("Settings", "Backup", 0), 1);      // not the later "backup"
    EXPECT_EQ(settings.GetSettingInt("Settings", "OldMerge", 0), -1);   // blanks around it
    EXPECT_EQ(settings.GetSettingInt("Settings", "LinksBefore", 0), 0); // in the repeated section
    EXPECT_EQ(settings.GetSettingStr("Settings", "PageTitle", ""), "My Bookmarks");
    EXPECT_EQ(settings.GetSettingStr("Settings", "NNLocation1", "none"), "");
    EXPECT_EQ(settings.GetSettingAll("Ice"), (Pairs{{"Color0", "4469555"}}));
    EXPECT_EQ(settings.GetSettingStr("Settings", "NNLocation0", ""),
              "<default> C:\\Documents and Settings\\Ann\\Application Data\\Mozilla\\Firefox"
              "\\Profiles\\x1.default\\bookmarks.html");
}

void ExpectOperaPreferenceQuirks(CSetting& settings) {
    EXPECT_EQ(settings.GetSettingStr("System", "Multi User", ""), "0   ; inline comment");
    EXPECT_EQ(settings.GetSettingInt("System", "Multi User", 1), 0);
    EXPECT_EQ(settings.GetSettingStr("User Prefs", "Source Viewer", "x"), "\"\"");
}

TEST_F(SettingStore, ReadsInlineCommentsDoubledQuotesAndByteOrderMarks) {
    auto settings = Bound(DataFile("bom-crlf-inline-comment-doubled-quotes.ini").string());
    ExpectOperaPreferenceQuirks(settings);
    EXPECT_EQ(settings.GetSettingStr("User Prefs", "Hot List File Ver2", ""),
              "C:\\Opera\\profile\\\xC3\xBC"
              "bersicht.adr");
    EXPECT_EQ(settings.GetSectionNames(), (std::vector<std::string>{"System", "User Prefs"}));
}

TEST_F(SettingStore, ReadsRealBrowserFiles) {
    auto corpus = test::CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "corpus not present";
    }
    auto simpleu = Bound((corpus / "ini/operaprefs_default-simpleu.ini").string());
    EXPECT_EQ(simpleu.GetSettingInt("System", "Multi User", 1), 0);
    auto opera = Bound((corpus / "ini/opera6-964-linux.ini").string());
    EXPECT_EQ(opera.GetSettingStr("User Prefs", "Source Viewer", "x"), "\"\"");
    auto profiles = Bound((corpus / "ini/firefox-profiles-linux-install-esr.ini").string());
    auto names = profiles.GetSectionNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "Profile1");
    EXPECT_EQ(names[1], "Profile0");
    EXPECT_EQ(profiles.GetSettingInt("General", "Version", 0), 2);
}

// Runs python3's configparser on a file and lists "section|key|value" lines.
std::optional<std::string> ReadWithConfigparser(const std::string& path) {
    if (std::system("python3 -c 'import configparser' >/dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    std::string command = "python3 -c 'import configparser, sys\n"
                          "p = configparser.ConfigParser(interpolation=None, strict=True)\n"
                          "p.optionxform = str\n"
                          "p.read(sys.argv[1], encoding=\"utf-8\")\n"
                          "for s in p.sections():\n"
                          "    for k, v in p[s].items(): print(s + \"|\" + k + \"|\" + v)' '" +
                          path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        out += buffer.data();
    }
    pclose(pipe);
    return out;
}

TEST_F(SettingStore, FilesWrittenHereReadTheSameWithConfigparser) {
    WriteFile(SettingsFile(),
              "; kept\n[Settings]\nBackup=1\nBackup=2\nno equals\n[settings]\nX=1\n");
    auto settings = Bound();
    settings.SaveSettingStr("Settings", "PageTitle", "Bookmarks By Tellavin; 100% mine");
    settings.SaveSettingStr("Settings", "NNLocation0", "<default> /home/ann/.mozilla/b.html");
    settings.SaveSettingStr("Settings", "MenuLocation0", "");
    settings.SaveSettingInt("Position", "MainLeft", -1);
    settings.SaveSettingStr("Ice", "Color0", "4469555");
    settings.SaveSettingStr("Caf\xC3\xA9 au lait", "Color0", "255");

    auto python = ReadWithConfigparser(SettingsFile());
    if (!python) {
        GTEST_SKIP() << "python3 with configparser not available";
    }
    std::string ours;
    for (const auto& section : settings.GetSectionNames()) {
        for (const auto& [key, value] : settings.GetSettingAll(section)) {
            ours += section + "|" + key + "|" + value + "\n";
        }
    }
    EXPECT_EQ(*python, ours);
    EXPECT_NE(ours.find("Settings|Backup|1\n"), std::string::npos);
}

TEST(RegistryValue, AbsentValuesGiveTheDefault) {
    RegistryValue fallback = std::string("C:\\Opera");
    EXPECT_EQ(GetRegistryValue(SystemPlatform(), RegistryRoot::CurrentUser,
                               "Software\\Opera Software", "Last Directory3", fallback),
              fallback);
    EXPECT_EQ(GetRegistryValue(SystemPlatform(), RegistryRoot::CurrentUser, "Software", "x"),
              RegistryValue{});
    test::FakePlatform platform;
    platform.registry[{RegistryRoot::CurrentUser, "Software\\Opera Software", "Last Directory3"}] =
        std::string("D:\\Opera\\");
    EXPECT_EQ(GetRegistryValue(platform, RegistryRoot::CurrentUser, "Software\\Opera Software",
                               "Last Directory3", fallback),
              RegistryValue{std::string("D:\\Opera\\")});
    EXPECT_EQ(GetRegistryValue(platform, RegistryRoot::LocalMachine, "Software\\Opera Software",
                               "Last Directory3", std::int32_t{7}),
              RegistryValue{std::int32_t{7}});
}

} // namespace
} // namespace tellavin
