#include "settings/color_presets.h"
#include "settings/exported_total.h"
#include "settings/location_lists.h"
#include "settings/setting_store.h"
#include "settings/window_placement.h"
#include "settings/window_settings.h"
#include "support/fake_platform.h"
#include "support/memory_window.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::MemoryWindow;
using test::TempDir;
using test::WindowOfKind;
using test::WriteFile;
using Items = std::vector<std::string>;

constexpr std::int32_t kUntouched = 99;

class WindowSettings : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path() / "bin");
        platform.executablePath = dir / "bin/tellavin";
    }
    CSetting Settings() {
        CSetting settings(platform);
        settings.Init();
        return settings;
    }
    // A file that exists, for the lists to keep.
    std::string Existing(const std::string& name) {
        WriteFile(dir.path() / name, "x");
        return dir / name;
    }
    void Load(std::int32_t kind, MemoryWindow& window, PresetList* presets = nullptr) {
        LoadWindowSettings(kind, window, platform, session, presets);
    }
    void Save(std::int32_t kind, const MemoryWindow& window, const PresetList* presets = nullptr) {
        auto result = SaveWindowSettings(kind, window, platform, presets);
        ASSERT_TRUE(result.ok) << result.message;
    }

    TempDir dir;
    test::FakePlatform platform;
    SessionState session;
};

const std::map<std::string, std::int32_t> kExportDefaults = {
    {"chkBackup", 1},   {"chkSkipThere", 1}, {"chkLinksBefore", 0}, {"chkKeepOrder", 0},
    {"optOldErase", 0}, {"optOldMerge", -1}, {"optWhere(0)", 0},    {"optWhere(1)", -1},
    {"optPlace(0)", 0}, {"optPlace(1)", -1}, {"optPlace(2)", 0},
};
const std::map<std::string, std::int32_t> kMenuDefaults = {
    {"chkOpenNew", 1},        {"chkShowUrl", 1},  {"chkVertical", 0},    {"chkShadows", 1},
    {"chkShowStatistics", 0}, {"chkMaxItems", 1}, {"chkShowBrowser", 1}, {"chkKeepOrder", 0},
};

TEST_F(WindowSettings, FirstRunGivesEveryDefault) {
    for (std::int32_t kind = 1; kind <= 11; ++kind) {
        SCOPED_TRACE(kind);
        auto window = WindowOfKind(kind, kUntouched);
        PresetList presets(platform);
        Load(kind, window, &presets);

        // 1024 x 768 pixels at 15 twips per pixel.
        auto [left, top, width, height] = window.rect;
        if (kind == 1) {
            EXPECT_EQ(std::tie(left, top, width, height), std::make_tuple(341, 256, 400, 300));
        } else if (kind == 3) {
            EXPECT_EQ(std::tie(left, top, width, height), std::make_tuple(50, 100, 700, 400));
        } else {
            EXPECT_EQ(std::tie(left, top, width, height), std::make_tuple(205, 154, 400, 300));
        }

        std::map<std::string, std::int32_t> expected;
        if (kind == 2 || kind == 7 || kind == 8 || kind == 10) {
            expected = kExportDefaults;
        } else if (kind == 4 || kind == 9) {
            expected = {{"chkKeepOrder", 0},
                        {"chkSkipThere", 1},
                        {"NNoptWhere(0)", 0},
                        {"NNoptWhere(1)", -1}};
        } else if (kind == 5 || kind == 6 || kind == 11) {
            expected = kMenuDefaults;
            EXPECT_EQ(window.texts["txtPageTitle"], "Bookmarks By Tellavin");
            EXPECT_EQ(window.texts["txtMaxItems"], "25");
            EXPECT_EQ(presets.text(), "<Custom>");
            EXPECT_EQ(presets.swatches(), kCustomColors);
            EXPECT_TRUE(window.combos["cboDHTMLLoc"].items.empty());
        }
        using Values = std::map<std::string, std::int32_t>;
        EXPECT_EQ(Values(window.values.begin(), window.values.end()), expected);
        for (const auto& [name, combo] : window.combos) {
            if (name != "cboDHTMLLoc") {
                EXPECT_EQ(combo.items.size(), 1u) << name;
                EXPECT_EQ(combo.listIndex, 0) << name;
            }
        }
    }
    EXPECT_EQ(session.favoritesFolder, "");
    EXPECT_EQ(session.menuFile, "");
    EXPECT_FALSE(fs::exists(dir.path() / "bin/tellavin.ini")) << "reading wrote the file";
}

// Gives every control of a window a value that differs from its default.
void FillWindow(MemoryWindow& window, std::int32_t kind, const std::string& favorites,
                const Items& netscape, const Items& opera, const Items& pages) {
    window.rect = {123, 45, 500, 350};
    for (auto& [name, value] : window.values) {
        auto defaults = kExportDefaults.count(name) ? kExportDefaults : kMenuDefaults;
        value = defaults.count(name) && defaults.at(name) == 1 ? 0 : 1;
        if (name.rfind("opt", 0) == 0) {
            value = defaults.at(name) == 0 ? -1 : 0;
        }
    }
    if (window.values.count("NNoptWhere(0)")) {
        window.values["NNoptWhere(0)"] = -1;
        window.values["NNoptWhere(1)"] = 0;
    }
    if (window.values.count("chkVertical")) {
        window.values["chkVertical"] = 2; // grey
    }
    if (window.texts.count("txtIELoc")) {
        window.texts["txtIELoc"] = favorites;
    }
    if (window.texts.count("txtPageTitle")) {
        window.texts["txtPageTitle"] = "Ann's \"links\"; 100%";
        window.texts["txtMaxItems"] = "12";
    }
    bool nnIsOpera = kind == 7 || kind == 9 || kind == 11 || kind == 8;
    if (window.combos.count("cboNNLoc")) {
        auto& items = window.combos["cboNNLoc"].items;
        items.insert(items.end(), nnIsOpera ? opera.begin() : netscape.begin(),
                     nnIsOpera ? opera.end() : netscape.end());
    }
    if (window.combos.count("cboFromLoc")) {
        auto& items = window.combos["cboFromLoc"].items;
        items.insert(items.end(), nnIsOpera ? netscape.begin() : opera.begin(),
                     nnIsOpera ? netscape.end() : opera.end());
    }
    if (window.combos.count("cboDHTMLLoc")) {
        window.combos["cboDHTMLLoc"].items = pages;
    }
}

TEST_F(WindowSettings, SaveAndLoadRestoreEveryControlOfEveryWindow) {
    fs::create_directories(dir.path() / "Favorites");
    std::string favorites = dir / "Favorites";
    Items netscape{"<default> " + Existing("ff/bookmarks.html"), Existing("other.html")};
    Items opera{Existing("opera6.adr"), Existing("old.adr")};
    Items pages{dir / "menu.html", Existing("menu2.html")};
    for (std::int32_t kind = 1; kind <= 11; ++kind) {
        SCOPED_TRACE(kind);
        session = SessionState{};
        auto saved = WindowOfKind(kind);
        FillWindow(saved, kind, favorites, netscape, opera, pages);
        InstallBuiltinPresets(platform);
        PresetList savedPresets(platform);
        savedPresets.LoadPresetList();
        savedPresets.SelectByText("TwinHelix");
        Save(kind, saved, &savedPresets);

        auto loaded = WindowOfKind(kind, kUntouched);
        PresetList presets(platform);
        Load(kind, loaded, &presets);
        auto [left, top, width, height] = loaded.rect;
        if (kind == 3) {
            EXPECT_EQ(std::tie(left, top, width, height), std::make_tuple(123, 45, 500, 350));
        } else {
            EXPECT_EQ(std::tie(left, top), std::make_tuple(123, 45));
        }
        EXPECT_EQ(loaded.values, saved.values);
        for (const auto& [name, text] : saved.texts) {
            if (name != "txtIELoc") {
                EXPECT_EQ(loaded.texts[name], text) << name;
            }
        }
        for (const auto& [name, combo] : saved.combos) {
            EXPECT_EQ(loaded.combos[name].items, combo.items) << name;
            EXPECT_EQ(loaded.combos[name].listIndex, name == "cboDHTMLLoc" ? -1 : 1) << name;
        }
        bool favoritesKind = saved.texts.count("txtIELoc") > 0;
        EXPECT_EQ(session.favoritesFolder, favoritesKind ? favorites : "");
        bool menuKind = saved.combos.count("cboDHTMLLoc") > 0;
        EXPECT_EQ(session.menuFile, menuKind ? pages[0] : "");
        EXPECT_EQ(presets.text(), menuKind ? "TwinHelix" : "");
    }
}

TEST_F(WindowSettings, EveryKeyOfAFileWrittenOnWindowsReachesItsControl) {
    fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "settings/every-key-crlf.ini",
                  dir.path() / "bin/tellavin.ini");
    auto main = WindowOfKind(1);
    Load(1, main);
    EXPECT_EQ(std::tie(main.rect.left, main.rect.top), std::make_tuple(100, 50));
    auto selection = WindowOfKind(3);
    Load(3, selection);
    auto [left, top, width, height] = selection.rect;
    EXPECT_EQ(std::tie(left, top, width, height), std::make_tuple(20, 30, 600, 400));

    auto fromFavorites = WindowOfKind(7, kUntouched);
    Load(7, fromFavorites);
    EXPECT_EQ(std::tie(fromFavorites.rect.left, fromFavorites.rect.top), std::make_tuple(200, 100));
    // A file from before the source's order could be kept leaves it
    // unchecked, and one from before links already there were skipped
    // skips them.
    EXPECT_EQ(fromFavorites.values, (decltype(fromFavorites.values){{"chkBackup", 0},
                                                                    {"chkSkipThere", 1},
                                                                    {"chkKeepOrder", 0},
                                                                    {"chkLinksBefore", 1},
                                                                    {"optOldErase", -1},
                                                                    {"optOldMerge", 0},
                                                                    {"optWhere(0)", -1},
                                                                    {"optWhere(1)", 0},
                                                                    {"optPlace(0)", 0},
                                                                    {"optPlace(1)", -1},
                                                                    {"optPlace(2)", 0}}));
    auto toFavorites = WindowOfKind(9, kUntouched);
    Load(9, toFavorites);
    EXPECT_EQ(toFavorites.values, (decltype(toFavorites.values){{"chkKeepOrder", 0},
                                                                {"chkSkipThere", 1},
                                                                {"NNoptWhere(0)", -1},
                                                                {"NNoptWhere(1)", 0}}));

    auto menu = WindowOfKind(5, kUntouched);
    PresetList presets(platform);
    Load(5, menu, &presets);
    EXPECT_EQ(menu.values, (decltype(menu.values){{"chkOpenNew", 0},
                                                  {"chkShowUrl", 0},
                                                  {"chkVertical", 1},
                                                  {"chkShadows", 0},
                                                  {"chkShowStatistics", 1},
                                                  {"chkMaxItems", 2},
                                                  {"chkShowBrowser", 0},
                                                  {"chkKeepOrder", 0}}));
    EXPECT_EQ(menu.texts["txtPageTitle"], "Links of Ann");
    EXPECT_EQ(menu.texts["txtMaxItems"], "40");
    EXPECT_EQ(presets.text(), "Ice");
    EXPECT_EQ(AddToExportedTotal(platform, 0), 1234);
}

TEST_F(WindowSettings, ExportWindowsShareOnePositionAndTheMainWindowHasItsOwn) {
    auto fromFavorites = WindowOfKind(2);
    fromFavorites.rect = {100, 80, 400, 300};
    Save(2, fromFavorites);
    auto main = WindowOfKind(1);
    main.rect = {10, 20, 300, 200};
    Save(1, main);

    auto menuWindow = WindowOfKind(11);
    Load(11, menuWindow);
    EXPECT_EQ(menuWindow.rect.left, 100);
    EXPECT_EQ(menuWindow.rect.top, 80);
    auto mainAgain = WindowOfKind(1);
    Load(1, mainAgain);
    EXPECT_EQ(mainAgain.rect.left, 10);
    EXPECT_EQ(mainAgain.rect.top, 20);
    EXPECT_EQ(Settings().GetSettingInt("Position", "SecLeft", 0), 1500);
}

// A remembered place comes back onto the screen nearest to it, beside
// or above another, with the window's top-left corner on it.
TEST(WindowPlacement, APlaceIsBroughtOntoTheNearestScreen) {
    // A laptop's screen with a larger one to its right, a little higher.
    const WindowRect screens[] = {{0, 0, 1366, 768}, {1366, -200, 1920, 1080}};
    struct Case {
        WindowRect window;
        std::size_t screen;
        WindowPoint place;
    };
    const Case cases[] = {
        {{100, 100, 400, 300}, 0, {100, 100}},     // on the first screen: stays
        {{2000, -150, 400, 300}, 1, {2000, -150}}, // on the second: stays
        {{100, -90, 400, 300}, 0, {100, 0}},       // title bar above the first
        {{1400, 900, 400, 300}, 1, {1400, 580}},   // below the second's bottom
        {{4000, 100, 400, 300}, 1, {2886, 100}},   // far right
        {{-500, 300, 400, 300}, 0, {0, 300}},      // left of every screen
        {{200, 100, 1600, 1000}, 0, {0, 0}},       // larger than its screen
    };
    for (const Case& c : cases) {
        const auto nearest = NearestArea({c.window.left, c.window.top}, screens);
        const auto place = BroughtOnto(c.window, screens[nearest]);
        EXPECT_EQ(std::tuple(nearest, place.left, place.top),
                  std::tuple(c.screen, c.place.left, c.place.top))
            << c.window.left << ", " << c.window.top;
    }
}

TEST_F(WindowSettings, PlacementPullsWindowsOntoTheScreen) {
    MemoryWindow window;
    window.rect = {0, 0, 400, 300};
    auto placed = PlaceWindow(window, 2000, 900); // remembered on a larger screen
    EXPECT_EQ(placed.left, 624);
    EXPECT_EQ(placed.top, 468);
    placed = PlaceWindow(window, -30, -5);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    window.rect = {0, 0, 1500, 900}; // larger than the screen: the corner stays reachable
    placed = PlaceWindow(window, 300, 200);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(window.rect.width, 1500);

    auto settings = Settings();
    settings.SaveSettingInt("Position", "SecLeft", 30000);
    settings.SaveSettingInt("Position", "SecTop", -900);
    auto exportWindow = WindowOfKind(4);
    Load(4, exportWindow);
    EXPECT_EQ(exportWindow.rect.left, 624);
    EXPECT_EQ(exportWindow.rect.top, 0);
}

TEST_F(WindowSettings, PositionsBeyondSixteenBitsAreClampedAndTheSaveGoesOn) {
    auto window = WindowOfKind(3);
    window.rect = {5000, -40000, 3000, 400};
    Save(3, window);
    auto settings = Settings();
    EXPECT_EQ(settings.GetSettingInt("Position", "ThiLeft", 0), 32767);
    EXPECT_EQ(settings.GetSettingInt("Position", "ThiTop", 0), -32768);
    EXPECT_EQ(settings.GetSettingInt("Position", "ThiWidth", 0), 32767);
    EXPECT_EQ(settings.GetSettingInt("Position", "ThiHeight", 0), 6000);
    EXPECT_EQ(TwipsFromPixels(10.5, 1), 10); // halves to even
    EXPECT_EQ(TwipsFromPixels(11.5, 1), 12);
    EXPECT_EQ(TwipsFromPixels(10, 0), 150); // a screen without a scale counts 96 dpi
}

TEST_F(WindowSettings, StoreListsKeepNetscapeLabelsDropOperaLabelsAndOnlyFiveEntries) {
    auto window = WindowOfKind(8); // cboNNLoc: Opera hotlists, cboFromLoc: Netscape files
    Items netscape;
    for (int i = 0; i < 6; ++i) {
        netscape.push_back((i % 2 ? "<p" + std::to_string(i) + "> " : "") +
                           Existing("n" + std::to_string(i) + ".html"));
    }
    auto& from = window.combos["cboFromLoc"].items;
    from.insert(from.end(), netscape.begin(), netscape.end());
    auto& nnLoc = window.combos["cboNNLoc"].items;
    nnLoc.insert(nnLoc.end(), {"<Opera> " + Existing("labelled.adr"), Existing("plain.adr")});
    Save(8, window);

    auto settings = Settings();
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(settings.GetSettingStr("Settings", "NNLocation" + std::to_string(n), ""),
                  netscape[static_cast<std::size_t>(n)]);
    }
    EXPECT_EQ(settings.GetSettingStr("Settings", "NNLocation5", "absent"), "absent");
    EXPECT_EQ(settings.GetSettingStr("Settings", "OperaHotlist0", ""), dir / "plain.adr");
    EXPECT_EQ(settings.GetSettingStr("Settings", "OperaHotlist1", "absent"), "");

    auto loaded = WindowOfKind(8);
    Load(8, loaded);
    Items expectedFrom{"- Please Select a Bookmark File -"};
    expectedFrom.insert(expectedFrom.end(), netscape.begin(), netscape.begin() + 5);
    EXPECT_EQ(loaded.combos["cboFromLoc"].items, expectedFrom);
    EXPECT_EQ(loaded.combos["cboNNLoc"].items,
              (Items{"- Please Select a Bookmark File -", dir / "plain.adr"}));
}

TEST_F(WindowSettings, EntriesWhoseFileIsGoneAreDroppedAndOnlyTheFirstIsSelected) {
    auto settings = Settings();
    settings.SaveSettingStr("Settings", "NNLocation0", "<gone> " + (dir / "gone.html"));
    settings.SaveSettingStr("Settings", "NNLocation1", Existing("kept.html"));
    settings.SaveSettingStr("Settings", "NNLocation2", "<x> " + Existing("labelled.html"));
    auto window = WindowOfKind(2);
    Load(2, window);
    EXPECT_EQ(window.combos["cboNNLoc"].items,
              (Items{"- Please Select a Bookmark File -", dir / "kept.html",
                     "<x> " + (dir / "labelled.html")}));
    EXPECT_EQ(window.combos["cboNNLoc"].listIndex, 0); // the prompt stays selected

    settings.SaveSettingStr("Settings", "NNLocation0", Existing("first.html"));
    auto again = WindowOfKind(2);
    Load(2, again);
    EXPECT_EQ(again.combos["cboNNLoc"].items[1], dir / "first.html");
    EXPECT_EQ(again.combos["cboNNLoc"].listIndex, 1);
}

TEST_F(WindowSettings, FavoritesAndMenuPagesNeedAnExistingFolder) {
    auto settings = Settings();
    settings.SaveSettingStr("Settings", "FavLocation", dir / "no-such-folder");
    settings.SaveSettingStr("Settings", "MenuLocation0", dir / "missing/menu.html");
    settings.SaveSettingStr("Settings", "MenuLocation1", dir / "new-menu.html");
    auto window = WindowOfKind(5);
    session.favoritesFolder = "/kept";
    Load(5, window);
    EXPECT_EQ(session.favoritesFolder, "/kept");
    EXPECT_EQ(session.menuFile, "");
    EXPECT_EQ(window.combos["cboDHTMLLoc"].items, (Items{dir / "new-menu.html"}));
    EXPECT_EQ(window.combos["cboDHTMLLoc"].listIndex, -1);
}

TEST_F(WindowSettings, UnreadableValuesLeaveTheirControlsAndTheRestLoads) {
    WriteFile(dir.path() / "bin/tellavin.ini",
              "[Position]\r\nSecLeft=70000\r\n[Settings]\r\nBackup=70000\r\nLinksBefore=1\r\n"
              "BreakAfter=99999\r\nShowInBrowser=0\r\n");
    auto exportWindow = WindowOfKind(2, kUntouched);
    exportWindow.rect = {7, 8, 400, 300};
    Load(2, exportWindow);
    EXPECT_EQ(exportWindow.rect.left, 7); // not moved
    EXPECT_EQ(exportWindow.values["chkBackup"], kUntouched);
    EXPECT_EQ(exportWindow.values["chkLinksBefore"], 1);
    EXPECT_EQ(exportWindow.values["optOldMerge"], -1);

    auto menuWindow = WindowOfKind(6, kUntouched);
    menuWindow.texts["txtMaxItems"] = "design";
    Load(6, menuWindow);
    EXPECT_EQ(menuWindow.texts["txtMaxItems"], "design");
    EXPECT_EQ(menuWindow.values["chkShowBrowser"], 0);
}

TEST_F(WindowSettings, MaxItemsTextThatIsNoNumberKeepsTheSavedValue) {
    auto window = WindowOfKind(6);
    for (auto [text, stored] : std::vector<std::pair<std::string, int>>{{"30", 30},
                                                                        {"abc", 30},
                                                                        {"", 30},
                                                                        {"12.5", 30},
                                                                        {" 40 ", 40},
                                                                        {"99999", 32767},
                                                                        {"-3", -3}}) {
        SCOPED_TRACE(text);
        window.texts["txtMaxItems"] = text;
        Save(6, window);
        EXPECT_EQ(Settings().GetSettingInt("Settings", "BreakAfter", 0), stored);
    }
}

TEST_F(WindowSettings, SaveStopsAtTheFirstFailureAndSaysWhy) {
    auto window = WindowOfKind(10);
    window.values["chkBackup"] = 0;
    window.values["optOldErase"] = -1;
    window.values.erase("chkLinksBefore");
    auto result = SaveWindowSettings(10, window, platform);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "The window has no control chkLinksBefore");
    auto settings = Settings();
    EXPECT_EQ(settings.GetSettingInt("Settings", "Backup", 1), 0);
    EXPECT_EQ(settings.GetSettingInt("Settings", "OldErase", 7), 7);

    fs::remove(dir.path() / "bin/tellavin.ini");
    fs::create_directories(dir.path() / "bin/tellavin.ini");
    result = SaveWindowSettings(1, WindowOfKind(1), platform);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("Error writing Setting (75, "), std::string::npos)
        << result.message;
    EXPECT_NE(result.message.find(dir / "bin/tellavin.ini"), std::string::npos);

    EXPECT_FALSE(SaveWindowSettings(12, WindowOfKind(1), platform).ok);
    auto window12 = WindowOfKind(1);
    window12.rect = {1, 2, 3, 4};
    LoadWindowSettings(12, window12, platform, session);
    EXPECT_EQ(window12.rect.left, 1);
}

TEST_F(WindowSettings, ExportedTotalAddsUpAndNeverFails) {
    EXPECT_EQ(AddToExportedTotal(platform, 0), 0);
    EXPECT_FALSE(fs::exists(dir.path() / "bin/tellavin.ini")) << "a read wrote the file";
    EXPECT_EQ(AddToExportedTotal(platform, 5), 5);
    EXPECT_EQ(AddToExportedTotal(platform, 7), 12);
    EXPECT_EQ(Settings().GetSettingStr("Settings", "TotalItemsExported", ""), "12");

    auto settings = Settings();
    settings.SaveSettingStr("Settings", "TotalItemsExported", "2147483640");
    EXPECT_EQ(AddToExportedTotal(platform, 10), 2147483640); // the sum does not fit
    EXPECT_EQ(Settings().GetSettingStr("Settings", "TotalItemsExported", ""), "2147483640");
    settings.SaveSettingStr("Settings", "TotalItemsExported", "-50");
    EXPECT_EQ(AddToExportedTotal(platform, 20), 0);
    EXPECT_EQ(Settings().GetSettingStr("Settings", "TotalItemsExported", ""), "-30");
    settings.SaveSettingStr("Settings", "TotalItemsExported", "many");
    EXPECT_EQ(AddToExportedTotal(platform, 3), 3);

    fs::remove(dir.path() / "bin/tellavin.ini");
    fs::create_directories(dir.path() / "bin/tellavin.ini"); // cannot be written
    EXPECT_EQ(AddToExportedTotal(platform, 4), 4);
}

} // namespace
} // namespace tellavin
