#include "support/temp_dir.h"

#include <cstdio>
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

CliRun RunCli(const std::string& arguments) {
    CliRun run;
    std::string command = std::string("'") + TELLAVIN_CLI + "' " + arguments + " 2>&1";
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

const std::string kSamples = std::string("'favorites:") + TELLAVIN_SAMPLES + "/Favorites'";

TEST(MenuCommand, PublishesTheWholeStoreWithTheGivenOptions) {
    TempDir dir;
    auto page = dir / "menu.html";
    auto run = RunCli("menu " + kSamples + " '" + page +
                      "' --vertical --statistics --no-shadows --break 2 --title 'A & B' "
                      "--colors '#FF0000,0,0,0,0,0,16711680,0'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "5 Folders & 7 Links Exported Successfully.\n");
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
    EXPECT_NE(text.find(" addItem('more...', 'mmo00', 'sm:');"), std::string::npos);
    EXPECT_EQ(text.find("addDropShadow"), std::string::npos);
    EXPECT_NE(text.find("'https://search.example.com/', '');"), std::string::npos);
}

TEST(MenuCommand, RefusesBadOptionsAndUnreadableSources) {
    TempDir dir;
    auto page = " '" + dir / "menu.html" + "'";
    auto colors = RunCli("menu " + kSamples + page + " --colors 1,2,3");
    EXPECT_EQ(colors.status, 2);
    EXPECT_NE(colors.output.find("--colors needs eight colours"), std::string::npos);
    EXPECT_EQ(RunCli("menu " + kSamples + page + " --colors 1,2,3,4,5,6,7,16777216").status, 2);
    EXPECT_NE(RunCli("menu " + kSamples + page + " --break 1").status, 0);
    EXPECT_NE(RunCli("menu " + kSamples + page + " --break 100").status, 0);
    auto missing = RunCli("menu 'favorites:" + dir / "none" + "'" + page);
    EXPECT_EQ(missing.status, 1) << missing.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "menu.html"));
}

} // namespace
} // namespace tellavin
