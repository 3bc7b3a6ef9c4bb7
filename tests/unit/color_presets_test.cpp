#include "settings/setting_store.h"
#include "settings/window_settings.h"
#include "support/fake_platform.h"
#include "support/memory_window.h"
#include "support/temp_dir.h"
#include "settings/color_preset_list.h"
#include "settings/color_presets.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

constexpr MenuColors kIce = {4469555,  4469555,  15722214, 10543558,
                             11440256, 11440256, 16777215, 11440256};
constexpr MenuColors kTwinHelix = {0,       16777215, 14535884, 13408614,
                                   6710886, 6710886,  16777215, 10053171};

// Answers the preset questions from a script and records what was asked.
class ScriptedQuestions final : public PresetQuestions {
public:
    std::deque<std::string> names;
    std::deque<bool> answers;
    std::vector<std::string> asked; // title, then text or prompt

    std::string AskText(const std::string& title, const std::string& prompt) override {
        asked.insert(asked.end(), {title, prompt});
        std::string name = names.empty() ? "" : names.front();
        if (!names.empty()) {
            names.pop_front();
        }
        return name;
    }
    bool AskYesNo(const std::string& title, const std::string& text) override {
        asked.insert(asked.end(), {title, text});
        bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return yes;
    }
};

class ColorPresets : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin";
    }
    std::string PresetFilePath() const { return dir / "bin/ColorPreset.ini"; }
    CSetting PresetFile() {
        CSetting file(platform);
        file.Init("ColorPreset");
        return file;
    }
    // What a menu window does when it opens.
    PresetList Opened() {
        InstallBuiltinPresets(platform);
        PresetList list(platform);
        list.LoadPresetList();
        list.SelectByText("");
        return list;
    }
    static Names Texts(const PresetList& list) {
        Names texts;
        for (const auto& item : list.items()) {
            texts.push_back(item.text);
        }
        return texts;
    }
    void Select(PresetList& list, const std::string& name) {
        list.SelectByText(name);
        ASSERT_EQ(list.text(), name);
    }

    TempDir dir;
    test::FakePlatform platform;
    ScriptedQuestions questions;
};

TEST_F(ColorPresets, FirstRunListsCustomAndTheBuiltinPresets) {
    auto list = Opened();
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix"}));
    EXPECT_EQ(list.selected(), 0u);
    EXPECT_FALSE(list.deleteEnabled());
    EXPECT_EQ(list.swatches(), kCustomColors);
    EXPECT_EQ(PresetFile().GetSectionNames(), (Names{"Ice", "TwinHelix", "Version"}));
    EXPECT_EQ(PresetFile().GetSettingStr("Version", "Version", ""), "2");
    EXPECT_EQ(PresetFile().GetSettingStr("Ice", "Color2", ""), "15722214");

    list.Choose(1);
    EXPECT_EQ(list.swatches(), kIce);
    EXPECT_TRUE(list.deleteEnabled());
    list.Choose(2);
    EXPECT_EQ(list.swatches(), kTwinHelix);
    EXPECT_EQ(list.items()[2].entry, 2u);
}

TEST_F(ColorPresets, ADeletedBuiltinPresetStaysDeleted) {
    auto list = Opened();
    Select(list, "Ice");
    questions.answers = {true};
    list.DeletePreset(questions);
    EXPECT_EQ(questions.asked,
              (Names{" Confirm Deleting", "Really delete the current Menu Color Preset \"Ice\"?"}));
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "TwinHelix"}));
    EXPECT_EQ(list.selected(), 0u);
    EXPECT_EQ(list.swatches(), kCustomColors);
    EXPECT_FALSE(list.deleteEnabled());

    auto reopened = Opened();
    EXPECT_EQ(Texts(reopened), (Names{"<Custom>", "TwinHelix"}));
}

TEST_F(ColorPresets, DeletingAsksAndDoesNothingOnNoOrOnCustom) {
    auto list = Opened();
    list.DeletePreset(questions); // "<Custom>" is selected
    EXPECT_TRUE(questions.asked.empty());
    Select(list, "TwinHelix");
    questions.answers = {false};
    list.DeletePreset(questions);
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix"}));
    EXPECT_EQ(list.text(), "TwinHelix");
    EXPECT_EQ(PresetFile().GetSectionNames().size(), 3u);
}

TEST_F(ColorPresets, TheFileVersionDecidesWhetherBuiltinsAreWritten) {
    WriteFile(PresetFilePath(), "[Version]\r\nVersion=1.5\r\n[Mine]\r\nColor0=1\r\n");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(PresetFile().GetSectionNames(), (Names{"Version", "Mine"}));
    EXPECT_EQ(PresetFile().GetSettingStr("Version", "Version", ""), "2");

    for (const char* older : {"1", "abc", ""}) {
        SCOPED_TRACE(older);
        WriteFile(PresetFilePath(), std::string("[Version]\r\nVersion=") + older + "\r\n");
        InstallBuiltinPresets(platform);
        EXPECT_EQ(PresetFile().GetSectionNames(), (Names{"Version", "Ice", "TwinHelix"}));
    }
    WriteFile(PresetFilePath(), "[Version]\r\nVersion=2.5\r\n");
    InstallBuiltinPresets(platform);
    EXPECT_EQ(ReadFile(PresetFilePath()), "[Version]\r\nVersion=2.5\r\n");
    EXPECT_EQ(PresetFileNumber(" 1.5e1x"), 15);
    EXPECT_EQ(PresetFileNumber("-.5"), -0.5);
    EXPECT_EQ(PresetFileNumber("inf"), 0);
    EXPECT_EQ(PresetFileNumber("+"), 0);
}

TEST_F(ColorPresets, ReservedEmptyAndUnstorableNamesSaveNothing) {
    auto list = Opened();
    auto before = ReadFile(PresetFilePath());
    for (const char* name : {"<Mine>", "<Custom>", "", "   ", "Version", "version", "a]b"}) {
        SCOPED_TRACE(name);
        questions.asked.clear();
        questions.names = {name};
        list.SavePreset(questions);
        EXPECT_EQ(questions.asked, (Names{"Save Menu Color Preset",
                                          "Please, Insert the name of the Menu Color Preset:"}));
        EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix"}));
    }
    EXPECT_EQ(ReadFile(PresetFilePath()), before);
}

TEST_F(ColorPresets, SavingUnderAnExistingNameAsksBeforeOverwriting) {
    auto list = Opened();
    list.ChangeSwatch(0, 255);
    questions.names = {" Mine "};
    list.SavePreset(questions);
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix", "Mine"}));
    EXPECT_EQ(list.text(), "Mine");
    EXPECT_TRUE(list.deleteEnabled());
    EXPECT_EQ(PresetFile().GetSettingStr("Mine", "Color0", ""), "255");

    list.ChangeSwatch(1, 65280);
    questions.names = {"Mine"};
    questions.answers = {false};
    questions.asked.clear();
    list.SavePreset(questions);
    EXPECT_EQ(questions.asked[2], "Confirm Overwriting");
    EXPECT_EQ(questions.asked[3], "The name Mine already exists.\r\n"
                                  "Do You want to overwrite the existing Menu Color Preset?");
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix", "Mine"}));
    EXPECT_EQ(list.text(), "<Custom>");
    EXPECT_EQ(PresetFile().GetSettingStr("Mine", "Color1", ""), "0");

    Select(list, "Ice");
    list.ChangeSwatch(7, 42);
    questions.names = {"mine"}; // the file does not tell the case apart
    questions.answers = {true};
    list.SavePreset(questions);
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix", "Mine"}));
    EXPECT_EQ(list.text(), "Mine");
    EXPECT_EQ(list.items().back().entry, 4u); // a new table entry; 3 held the first "Mine"
    auto expected = kIce;
    expected[7] = 42;
    EXPECT_EQ(list.swatches(), expected);
    EXPECT_EQ(PresetFile().GetSettingStr("MINE", "Color7", ""), "42");
    EXPECT_EQ(PresetFile().GetSectionNames(), (Names{"Ice", "TwinHelix", "Version", "Mine"}));
}

TEST_F(ColorPresets, AMissingOrBadColourTakesTheSlotOfThePresetBefore) {
    WriteFile(PresetFilePath(), "[Bad First]\r\nColor3=-1\r\n"
                                "[First]\r\nColor0=1\r\nColor1=2\r\nColor2=3\r\nColor3=111\r\n"
                                "Color4=5\r\nColor5=6\r\nColor6=7\r\nColor7=8\r\n"
                                "[Version]\r\nVersion=2\r\n"
                                "[No Color3]\r\nColor0=10\r\n"
                                "[Too Large]\r\nColor3=20000000\r\nColor0=16777215\r\n"
                                "[Rounded]\r\nColor3=100.5\r\nColor4=101.5\r\nColor5=-0.5\r\n"
                                "[]\r\nColor0=9\r\n");
    PresetList list(platform);
    list.LoadPresetList();
    EXPECT_EQ(Texts(list),
              (Names{"<Custom>", "Bad First", "First", "No Color3", "Too Large", "Rounded"}));
    EXPECT_EQ(list.items()[3].entry, 4u); // section 3 of the file; "Version" is section 2
    list.Choose(1);
    EXPECT_EQ(list.swatches(), kCustomColors);
    list.Choose(3);
    EXPECT_EQ(list.swatches(), (MenuColors{10, 2, 3, 111, 5, 6, 7, 8}));
    list.Choose(4);
    EXPECT_EQ(list.swatches(), (MenuColors{16777215, 2, 3, 111, 5, 6, 7, 8}));
    list.Choose(5);
    EXPECT_EQ(list.swatches(), (MenuColors{16777215, 2, 3, 100, 102, 0, 7, 8}));
}

TEST_F(ColorPresets, ChangingASwatchSwitchesToCustomUnlessTheColourIsTheSame) {
    auto list = Opened();
    Select(list, "Ice");
    EXPECT_FALSE(list.ChangeSwatch(3, kIce[3]));
    EXPECT_EQ(list.text(), "Ice");
    EXPECT_TRUE(list.ChangeSwatch(3, 255));
    EXPECT_EQ(list.text(), "<Custom>");
    EXPECT_FALSE(list.deleteEnabled());
    auto expected = kIce;
    expected[3] = 255;
    EXPECT_EQ(list.swatches(), expected);
    Select(list, "TwinHelix");
    list.Choose(0); // back to the colours kept for "<Custom>"
    EXPECT_EQ(list.swatches(), expected);
}

TEST_F(ColorPresets, TheMenuWindowRemembersItsChoice) {
    auto window = test::WindowOfKind(6);
    PresetList list(platform);
    SessionState session;
    LoadWindowSettings(6, window, platform, session, &list);
    EXPECT_EQ(Texts(list), (Names{"<Custom>", "Ice", "TwinHelix"}));
    Select(list, "TwinHelix");
    ASSERT_TRUE(SaveWindowSettings(6, window, platform, &list).ok);

    PresetList reopened(platform);
    LoadWindowSettings(11, window, platform, session, &reopened);
    EXPECT_EQ(reopened.text(), "TwinHelix");
    EXPECT_EQ(reopened.swatches(), kTwinHelix);

    reopened.ChangeSwatch(0, 1);
    ASSERT_TRUE(SaveWindowSettings(11, window, platform, &reopened).ok);
    PresetList custom(platform);
    LoadWindowSettings(5, window, platform, session, &custom);
    EXPECT_EQ(custom.text(), "<Custom>");
    EXPECT_EQ(custom.swatches(), kCustomColors); // hand-made colours are not kept

    PresetFile().DeleteKey("TwinHelix");
    CSetting settings(platform);
    settings.Init();
    settings.SaveSettingStr("Settings", "ColorPreset", "TwinHelix");
    PresetList gone(platform);
    LoadWindowSettings(6, window, platform, session, &gone);
    EXPECT_EQ(gone.text(), "<Custom>");
}

} // namespace
} // namespace tellavin
