#include "cli/terminal_progress.h"
#include "support/fake_platform.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "text/visible_text.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

using test::RunCli;

TEST(CommandLine, CountAgreesWithTheFilesOnDisk) {
    test::TempDir dir;
    int folders = 0;
    int links = 0;
    for (int a = 0; a < 12; ++a) {
        auto folder = dir.path() / ("F" + std::to_string(a));
        ++folders;
        for (int b = 0; b < a % 4; ++b) {
            fs::create_directories(folder / ("sub" + std::to_string(b)));
            ++folders;
            test::WriteFile(folder / ("sub" + std::to_string(b)) / "x.url",
                            "[InternetShortcut]\nURL=u\n");
            ++links;
        }
        for (int l = 0; l < a; ++l) {
            test::WriteFile(folder / ("L" + std::to_string(l) + ".url"),
                            "[InternetShortcut]\nURL=u\n");
            ++links;
        }
        test::WriteFile(folder / "readme.txt", "not a link");
    }
    auto result = RunCli("count 'favorites:" + dir.path().string() + "'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              std::to_string(folders) + " folders, " + std::to_string(links) + " links\n");
}

TEST(CommandLine, TreeOfTheBundledSamplesInDisplayOrder) {
    auto result = RunCli(std::string("tree 'favorites:") + TELLAVIN_SAMPLES + "/Favorites'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "My Favorites/\n"
                          "  Search  <https://search.example.com/>\n"
                          "  Tellavin project  <https://example.org/tellavin/>\n"
                          "  Caf\xC3\xA9 & Cuisine/\n"
                          "    Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                          "e  <https://recipes.example.com/creme-brulee>\n"
                          "  Empty folder/\n"
                          "  News/\n"
                          "    Daily Planet  <https://news.example.com/daily>\n"
                          "    Weather  <https://weather.example.com/?city=Z%C3%BCrich&days=5>\n"
                          "  Travel/\n"
                          "    Maps  <https://maps.example.net/>\n"
                          "    Europe/\n"
                          "      Gare de Lyon  <https://travel.example.net/fr/paris>\n");
}

struct TerminalRow {
    const char* fault;
    std::string raw;
    std::string shown;
};

// Names that reached the terminal as they were: they could set the window
// title, clear the screen or forge lines of output.
const TerminalRow kTerminalRows[] = {
    {"EscapeSequenceReachedTheTerminal", "a\x1b]0;title\x07z", "a\\x1b]0;title\\x07z"},
    {"LineBreaksForgedLinesOfOutput", "one\r\ntwo\tthree", "one\\r\\ntwo\\tthree"},
    {"DeleteAndC1ControlsPassed", "x\x7fy\xC2\x9B[31m", "x\\x7fy\\u009b[31m"},
    {"StrayBytesActedAsEightBitControls", "caf\xE9\x9B", "caf\\xe9\\x9b"},
    {"NothingElseChanges", "Caf\xC3\xA9 \\ \xE2\x80\xA8 \xF0\x9F\x8E\x89",
     "Caf\xC3\xA9 \\ \xE2\x80\xA8 \xF0\x9F\x8E\x89"},
};

TEST(CommandLine, TreeShowsControlCharactersOfNamesEscaped) {
    test::TempDir dir;
    for (const auto& row : kTerminalRows) {
        EXPECT_EQ(VisibleText(row.raw), row.shown) << row.fault;
        test::WriteFile(dir.path() / (row.raw + ".url"), "[InternetShortcut]\nURL=http://x/\n");
    }
    auto result = RunCli("tree 'favorites:" + dir.path().string() + "'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "My Favorites/\n"
                          "  a\\x1b]0;title\\x07z  <http://x/>\n"
                          "  Caf\xC3\xA9 \\ \xE2\x80\xA8 \xF0\x9F\x8E\x89  <http://x/>\n"
                          "  caf\\xe9\\x9b  <http://x/>\n"
                          "  one\\r\\ntwo\\tthree  <http://x/>\n"
                          "  x\\x7fy\\u009b[31m  <http://x/>\n");
    auto missing = RunCli("tree 'favorites:/no/such/\x1b[2J'");
    EXPECT_EQ(missing.err,
              "tellavin-cli: cannot read /no/such/\\x1b[2J: No such file or directory\n");
}

TEST(CommandLine, ErrorsAreOneLineAndNonZero) {
    auto unknown = RunCli("count 'chrome:/x'");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("not a store"), std::string::npos);
    auto missing = RunCli("tree 'favorites:/no/such/folder'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "tellavin-cli: cannot read /no/such/folder: No such file or directory\n");
    EXPECT_EQ(missing.out, "");
}

TEST(CommandLine, DiscoverListsTheStoresOfTheUser) {
    test::TempDir dir;
    auto home = dir.path() / "home";
    fs::create_directories(home / "Favorites");
    test::WriteFile(home / ".mozilla/firefox/profiles.ini",
                    "[Profile0]\nName=work\nIsRelative=1\nPath=w.default\n"
                    "[Profile1]\nName=play\nIsRelative=1\nPath=p.default\n");
    test::WriteFile(home / ".mozilla/firefox/w.default/bookmarks.html", "x");
    test::WriteFile(home / ".mozilla/firefox/p.default/bookmarks.html", "x");
    test::WriteFile(home / ".mozilla/firefox/w.default/places.sqlite", "x");
    test::WriteFile(home / ".config/chromium/Default/Bookmarks", "x");
    test::WriteFile(home / ".opera/bookmarks.adr", "x");
    std::string environment = "-u XDG_CONFIG_HOME -u WINEPREFIX HOME='" + home.string() + "'";

    auto result = RunCli("discover", environment);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Favorites folder:  " + (home / "Favorites").string() + "\n" +
                              "Firefox bookmarks: <work> " + home.string() +
                              "/.mozilla/firefox/w.default/bookmarks.html\n" +
                              "Firefox bookmarks: <play> " + home.string() +
                              "/.mozilla/firefox/p.default/bookmarks.html\n" +
                              "Browser database:  <Firefox work> " + home.string() +
                              "/.mozilla/firefox/w.default/places.sqlite\n" +
                              "Browser database:  <Chromium Default> " + home.string() +
                              "/.config/chromium/Default/Bookmarks\n" +
                              "Opera hotlist:     " + home.string() + "/.opera/bookmarks.adr\n");

    auto empty = dir.path() / "empty";
    fs::create_directories(empty);
    result = RunCli("discover", "-u XDG_CONFIG_HOME HOME='" + empty.string() + "' WINEPREFIX='" +
                                    empty.string() + "/none'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Favorites folder:  (none found)\n"
                          "Firefox bookmarks: (none found)\n"
                          "Browser database:  (none found)\n"
                          "Opera hotlist:     (none found)\n");
}

TEST(ConvertCommand, RelativePathsAreTakenFromTheCurrentFolder) {
    test::TempDir dir;
    auto result = RunCli(std::string("convert 'favorites:") + TELLAVIN_SAMPLES +
                             "/Favorites' opera:relative.adr",
                         "-C '" + dir.path().string() + "'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(dir.path() / "relative.adr"));
}

// The tree shows each folder's links in the order the writers write them,
// so what the user reviews is what the file will hold.
TEST(CommandLine, TreeOrdersLinksAsTheWrittenFilesDo) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "h.adr", "Opera Hotlist version 2.0\n\n"
                                          "#URL\n\tNAME=\xC3\x89"
                                          "clair\n\tURL=http://e/\n\n"
                                          "#URL\n\tNAME=Fig\n\tURL=http://f/\n\n");
    auto tree = RunCli("tree '" + (dir / "h.adr") + "'");
    EXPECT_EQ(tree.out, "Opera Hotlist/\n  Fig  <http://f/>\n  \xC3\x89"
                        "clair  <http://e/>\n");
    ASSERT_EQ(
        test::RunCliHere("convert '" + (dir / "h.adr") + "' '" + (dir / "b.html") + "'").status, 0);
    auto written = test::ReadFile(dir.path() / "b.html");
    EXPECT_LT(written.find(">Fig</A>"), written.find(">\xC3\x89"
                                                     "clair</A>"));
}

// Conversions that run at once each add their items to the total in the
// settings file: none of the additions is lost. The program runs as a copy
// in a temporary folder, where it keeps its settings file, and each run
// writes into a folder of its own, so that the runs truly overlap.
TEST(ExportedTotal, ConversionsRunningAtOnceLoseNoAddition) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "bin");
    fs::copy_file(TELLAVIN_CLI, dir.path() / "bin/tellavin-cli");
    constexpr int kRunners = 16;
    constexpr int kRunsEach = 10;
    std::string script = "cd '" + dir.path().string() + "' && for i in $(seq " +
                         std::to_string(kRunners) + "); do mkdir out$i; (for j in $(seq " +
                         std::to_string(kRunsEach) +
                         "); do bin/tellavin-cli convert 'favorites:" + TELLAVIN_SAMPLES +
                         "/Favorites' out$i/h.adr --quiet >/dev/null || echo failed; done) & "
                         "done; wait";
    FILE* pipe = popen(script.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::array<char, 256> buffer{};
    std::string shown;
    while (auto read = fread(buffer.data(), 1, buffer.size(), pipe)) {
        shown.append(buffer.data(), read);
    }
    pclose(pipe);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path() / "bin")) {
        left.insert(entry.path().filename().string());
    }
    for (const auto& name : left) {
        shown += name + "\n";
    }
    // Each run exports the samples' 5 folders and 7 links; no lock is left.
    EXPECT_EQ(shown + test::ReadFile(dir.path() / "bin/tellavin.ini"),
              "tellavin-cli\ntellavin.ini\n[Settings]\r\nTotalItemsExported=" +
                  std::to_string(kRunners * kRunsEach * 12) + "\r\n");
}

TEST(TerminalProgress, FoldersDoneTheShareAndAHarmlessStatus) {
    std::ostringstream out;
    cli::TerminalProgress progress(out, true);
    progress.SetVisible(true);
    progress.SetStatusText("Exporting From Folder: \x1b]0;evil\x07News");
    progress.SetRange(0, 8);
    progress.SetValue(2);
    EXPECT_EQ(progress.Line(), "2 folders (25%)  Exporting From Folder: \\x1b]0;evil\\x07News");
    progress.SetVisible(false);
    EXPECT_EQ(out.str().substr(0, 4), "\r\x1b[K");
    EXPECT_EQ(out.str().substr(out.str().size() - 4), "\r\x1b[K");

    std::ostringstream quiet;
    cli::TerminalProgress off(quiet, false);
    off.SetStatusText("News");
    off.SetValue(1);
    off.SetVisible(false);
    EXPECT_EQ(quiet.str(), "");
}

// A status after which the work stops (waiting for another export) is drawn
// at once, not at the next redraw, which would come only after the wait.
TEST(TerminalProgress, AStatusShownNowIsDrawnAtOnce) {
    std::ostringstream out;
    cli::TerminalProgress progress(out, true);
    progress.SetVisible(true);
    progress.SetStatusText("Reading");
    progress.SetStatusText("Waiting");
    progress.ShowNow();
    EXPECT_EQ(out.str().substr(out.str().rfind('\r')), "\r\x1b[K0 folders  Waiting");
}

// Runs the command line with a terminal as its standard error, and returns
// what the terminal showed.
std::string OnATerminal(const std::string& arguments) {
    std::string command =
        "script -qec \"'" + test::CliProgram() + "' " + arguments + " >/dev/null\" /dev/null";
    std::string shown;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (auto read = fread(buffer.data(), 1, buffer.size(), pipe)) {
            shown.append(buffer.data(), read);
        }
        pclose(pipe);
    }
    return shown;
}

TEST(ConvertCommand, AProgressLineOnATerminalUnlessQuiet) {
    test::TempDir dir;
    auto convert =
        std::string("convert ") + TELLAVIN_SAMPLES + "/Favorites '" + (dir / "h.adr") + "'";
    auto shown = OnATerminal(convert);
    EXPECT_EQ(shown.substr(0, 4), "\r\x1b[K") << shown;
    EXPECT_NE(shown.find(" folders"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\x1b[K") << "the line is erased at the end";
    EXPECT_EQ(OnATerminal(convert + " --quiet"), "");
    auto piped = RunCli(convert);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
}

// What users of command-line tools expect: a version, a hint at a typo,
// exit status 2 for every usage error, each message one line after the
// program's name, and "~" as the home folder inside kind:path arguments
// that no shell expands.
TEST(CommandLine, ConventionsOfACommandLineTool) {
    test::FakePlatform platform;
    platform.folders[SpecialFolder::Home] = TELLAVIN_SAMPLES;
    struct Case {
        const char* arguments;
        int status;
        std::string shown; // what the command printed, out and err
    };
    const Case cases[] = {
        {"--version", 0, "tellavin-cli 2.48\n"},
        {"conver a b", 2, "tellavin-cli: unknown command 'conver'; did you mean 'convert'?\n"},
        {"frobnicate", 2, "tellavin-cli: unknown command 'frobnicate'\n"},
        {"convert --bogus a b", 2,
         "tellavin-cli: The following argument was not expected: --bogus\n"},
        {"", 2, "tellavin-cli: A subcommand is required\n"},
        {"convert a", 2, "tellavin-cli: TARGET is required\n"},
        {"convert a b --new-folder", 2, "tellavin-cli: --new-folder: 1 required TEXT missing\n"},
        {"convert a b --new-folder x --existing-folder y", 2,
         "tellavin-cli: --new-folder excludes --existing-folder\n"},
        {"menu a b --break 1", 2, "tellavin-cli: --break: Value 1 not in range 2 to 99\n"},
        {"count favorites:~/Favorites", 0, "5 folders, 7 links\n"},
        {"count ~/hotlist.adr", 0, "3 folders, 4 links\n"},
        {"count opera:~nobody/h.adr", 1,
         "tellavin-cli: cannot read ~nobody/h.adr: No such file or directory\n"},
        {"count opera:~/Favorites", 1,
         "tellavin-cli: cannot read " + std::string(TELLAVIN_SAMPLES) +
             "/Favorites: Is a directory\n"},
        {"tree netscape:~/hotlist.adr", 1,
         "tellavin-cli: cannot read " + std::string(TELLAVIN_SAMPLES) +
             "/hotlist.adr: not a Netscape-format file\n"},
    };
    for (const auto& c : cases) {
        auto run = test::RunCliWith(c.arguments, platform);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out + run.err, c.shown) << c.arguments;
    }
    // The help goes to standard output as CLI11 writes it.
    auto help = test::RunCliWith("convert --help", platform);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.substr(0, help.out.find('\n')),
              "Export every folder and link of a store into another store");
}

} // namespace
} // namespace tellavin
