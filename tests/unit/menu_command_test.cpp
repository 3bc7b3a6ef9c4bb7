#include "settings/color_presets.h"
#include "settings/exported_total.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace tellavin {
namespace {

using test::ReadFile;
using test::TempDir;

struct CliRun {
    int status = -1;
    std::string output; // standard output and standard error together
};

// A copy of the command line in a folder of its own: it keeps its settings
// and colour presets beside itself, so each test starts without any.
class MenuCommand : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "bin");
        std::filesystem::copy_file(TELLAVIN_CLI, cli);
    }

    CliRun Run(const std::string& arguments) const {
        CliRun run;
        std::string command = "'" + cli + "' " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return run;
        }
        char buffer[4096];
        for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            run.output.append(buffer, read);
        }
        int wait = pclose(pipe);
        run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
        return run;
    }

    std::string Settings(const std::string& file) const {
        auto path = dir.path() / "bin" / file;
        return std::filesystem::exists(path) ? ReadFile(path) : std::string();
    }

    TempDir dir;
    std::string cli = dir / "bin/tellavin-cli";
    std::string page = dir / "menu.html";
    std::string samples = std::string("'favorites:") + TELLAVIN_SAMPLES + "/Favorites'";
};

TEST_F(MenuCommand, PublishesTheWholeStoreWithTheGivenOptions) {
    auto run = Run("menu " + samples + " '" + page +
                   "' --vertical --statistics --no-shadows --break 2 --title 'A & B' "
                   "--colors '#FF0000,0,0,0,0,0,16711680,0'");
    ASSERT_EQ(run.status, 0) << run.output;
    // A menu page shows no icons of the links.
    EXPECT_EQ(run.output, "5 Folders & 7 Links Exported Successfully.\n"
                          "Not carried over:\n"
                          "  Icons dropped: 1 (Search)\n");
    auto text = ReadFile(page);
    EXPECT_NE(text.find("<title>A &amp; B</title>"), std::string::npos);
    EXPECT_NE(text.find("startMenu('root', true, 0, 16, 230, hBar);\r\n"
                        " addItem('My Favorites', 'm0', 'sm:');\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(".itemText { text-decoration: none; font: 12px Verdana, Arial, "
                        "Helvetica; color: #FF0000 }"),
              std::string::npos);
    EXPECT_NE(text.find("bgcolor='#0000FF'>"), std::string::npos);
    EXPECT_NE(text.find("&nbsp;(5 folders and 7 links)."), std::string::npos);
    EXPECT_NE(text.find(" addItem('more...', 'mmo0_0', 'sm:');"), std::string::npos);
    EXPECT_EQ(text.find("addDropShadow"), std::string::npos);
    EXPECT_NE(text.find("'https://search.example.com/', '');"), std::string::npos);
}

TEST_F(MenuCommand, EveryPageAddsItsItemsToTheExportedTotal) {
    // The samples make 14 item lines: the root item, 6 in the root's menu,
    // and 1, 1 ("(Empty)"), 2, 2 and 1 in the five folders below it.
    ASSERT_EQ(Run("menu " + samples + " '" + page + "'").status, 0);
    EXPECT_NE(Settings("tellavin.ini").find("TotalItemsExported=14"), std::string::npos)
        << Settings("tellavin.ini");
    ASSERT_EQ(Run("menu " + samples + " '" + page + "'").status, 0);
    EXPECT_NE(Settings("tellavin.ini").find("TotalItemsExported=28"), std::string::npos)
        << Settings("tellavin.ini");
}

// The desktop program, beside the command line, reads the same settings:
// the total the About window shows counts the command line's exports, and
// a preset the menu window saves is one --preset knows.
TEST_F(MenuCommand, BothProgramsShareOneSettingsFile) {
    ASSERT_EQ(Run("menu " + samples + " '" + page + "'").status, 0);
    test::FakePlatform desktop;
    desktop.executablePath = dir / "bin/tellavin";
    EXPECT_EQ(AddToExportedTotal(desktop, 0), 14);
    ASSERT_TRUE(SavePresetColors(desktop, "Mine", {255, 0, 0, 0, 0, 0, 65280, 0}));
    ASSERT_EQ(Run("menu " + samples + " '" + page + "' --preset Mine").status, 0);
    EXPECT_NE(ReadFile(page).find("color: #FF0000 }"), std::string::npos);
    EXPECT_EQ(AddToExportedTotal(desktop, 0), 28);
}

TEST_F(MenuCommand, ColoursComeFromAPresetByName) {
    ASSERT_EQ(Run("menu " + samples + " '" + page + "' --preset Ice").status, 0);
    auto text = ReadFile(page);
    EXPECT_NE(text.find(".itemText { text-decoration: none; font: 12px Verdana, Arial, "
                        "Helvetica; color: #333344 }"),
              std::string::npos);
    EXPECT_NE(text.find("'#E6E6EF', '#C6E1A0', 'itemTextRoot'"), std::string::npos);
    EXPECT_NE(Settings("ColorPreset.ini").find("[TwinHelix]"), std::string::npos);

    test::WriteFile(dir.path() / "bin" / "ColorPreset.ini",
                    Settings("ColorPreset.ini") +
                        "[Mine]\r\nColor0=255\r\nColor1=0\r\nColor2=0\r\nColor3=0\r\n"
                        "Color4=0\r\nColor5=0\r\nColor6=65280\r\nColor7=0\r\n");
    ASSERT_EQ(Run("menu " + samples + " '" + page + "' --preset Mine").status, 0);
    EXPECT_NE(ReadFile(page).find("bgcolor='#00FF00'>"), std::string::npos);
    EXPECT_NE(
        Run("menu " + samples + " '" + page + "' --preset Ice --colors 1,2,3,4,5,6,7,8").status, 0);
}

// A name that is no preset's is refused with the names there are, in the
// order the menu window lists them.
TEST_F(MenuCommand, AnUnknownPresetIsRefusedWithThePresetsThereAre) {
    struct Case {
        const char* presets; // the presets file before the run; none when null
        const char* name;
        std::string shown;
    };
    const std::string refused = "tellavin-cli: no menu colour preset is named ";
    const Case cases[] = {
        {nullptr, "Nothing", refused + "\"Nothing\"; there are: Ice, TwinHelix\n"},
        {nullptr, "ice", refused + "\"ice\"; there are: Ice, TwinHelix\n"},
        {"[Version]\r\nVersion=2\r\n[Mine]\r\nColor0=255\r\n[Ice]\r\nColor0=0\r\n", "Nothing",
         refused + "\"Nothing\"; there are: Mine, Ice\n"},
        {"[Version]\r\nVersion=2\r\n", "Ice", refused + "\"Ice\"; there are none\n"},
    };
    const auto file = dir.path() / "bin" / "ColorPreset.ini";
    for (const auto& c : cases) {
        std::filesystem::remove(file);
        if (c.presets != nullptr) {
            test::WriteFile(file, c.presets);
        }
        auto run = Run("menu " + samples + " '" + page + "' --preset " + c.name);
        EXPECT_EQ(run.status, 2) << c.name;
        EXPECT_EQ(run.output, c.shown);
    }
    EXPECT_FALSE(std::filesystem::exists(page));
}

TEST_F(MenuCommand, RefusesBadOptionsAndUnreadableSources) {
    auto target = " '" + page + "'";
    auto colors = Run("menu " + samples + target + " --colors 1,2,3");
    EXPECT_EQ(colors.status, 2);
    EXPECT_NE(colors.output.find("--colors needs eight colours"), std::string::npos);
    EXPECT_EQ(Run("menu " + samples + target + " --colors 1,2,3,4,5,6,7,16777216").status, 2);
    EXPECT_NE(Run("menu " + samples + target + " --break 1").status, 0);
    EXPECT_NE(Run("menu " + samples + target + " --break 100").status, 0);
    auto missing = Run("menu 'favorites:" + dir / "none" + "'" + target);
    EXPECT_EQ(missing.status, 1) << missing.output;
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_EQ(Settings("tellavin.ini").find("TotalItemsExported"), std::string::npos);
}

TEST_F(MenuCommand, RefusesAPageThatCannotBeWritten) {
    auto nowhere = dir / "no/such/menu.html";
    auto missing = Run("menu " + samples + " '" + nowhere + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output,
              "tellavin-cli: " + nowhere + ": the folder to write into does not exist\n");

    test::WriteFile(page, "old page");
    std::filesystem::permissions(page, std::filesystem::perms::owner_read);
    auto readOnly = Run("menu " + samples + " '" + page + "'");
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_EQ(readOnly.output, "tellavin-cli: " + page + ": is read-only\n");
    EXPECT_EQ(ReadFile(page), "old page");
    EXPECT_EQ(Settings("tellavin.ini").find("TotalItemsExported"), std::string::npos);
}

TEST_F(MenuCommand, PublishesAHotlistNamedByItsPath) {
    auto run = Run("menu '" + std::string(TELLAVIN_SAMPLES) + "/hotlist.adr' '" + page + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "2 Folders & 4 Links Exported Successfully.\n"
                          "Not carried over:\n"
                          "  Separators dropped: 1 (top level)\n"
                          "  Keywords dropped: 1 (Crème brûlée)\n"
                          "  Trash folder and its deleted entries skipped: 1 "
                          "(Trash)\n");
    EXPECT_NE(ReadFile(page).find("Crème brûlée"), std::string::npos);
    auto quiet =
        Run("menu --quiet '" + std::string(TELLAVIN_SAMPLES) + "/hotlist.adr' '" + page + "'");
    EXPECT_EQ(quiet.output, "2 Folders & 4 Links Exported Successfully.\n");
}

// With the source's order kept the separator is a divider in place, so it
// is no loss; the rest of the report stays. A description is its link's
// tool tip.
TEST_F(MenuCommand, KeepOrderListsTheHotlistAsItHoldsIt) {
    auto run =
        Run("menu --keep-order '" + std::string(TELLAVIN_SAMPLES) + "/hotlist.adr' '" + page + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "2 Folders & 4 Links Exported Successfully.\n"
                          "Not carried over:\n"
                          "  Keywords dropped: 1 (Crème brûlée)\n"
                          "  Trash folder and its deleted entries skipped: 1 "
                          "(Trash)\n");
    auto text = ReadFile(page);
    auto start = text.find("startMenu('m0'");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(text.substr(start, text.find("\r\n\r\n", start) - start),
              "startMenu('m0', true, 0, 20, 230, subM);\r\n"
              " addItem('News', 'm2', 'sm:');\r\n"
              " addItem('', '', 'div:');\r\n"
              " addItem('Tellavin project', 'https://example.org/tellavin/', '');\r\n"
              " addItem('Café & Cuisine', 'm3', 'sm:');");
}

} // namespace
} // namespace tellavin
