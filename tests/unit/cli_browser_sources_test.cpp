// The command line converting from a Firefox profile's database and a
// Chromium profile's Bookmarks file, named by profile folder or by file.
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::RunCliHere;

// A Firefox profile folder holding the database with an unmerged log, and a
// Chromium profile folder holding its Bookmarks file.
class BrowserProfiles {
public:
    BrowserProfiles() {
        auto data = fs::path(TELLAVIN_TEST_DATA) / "browsers";
        fs::create_directories(firefox());
        fs::copy_file(data / "nested-folders-tags-queries.sqlite", firefox() / "places.sqlite");
        fs::create_directories(chromium());
        fs::copy_file(data / "chromium-nested-roots.json", chromium() / "Bookmarks");
    }
    fs::path firefox() const { return dir.path() / "firefox" / "abc.default"; }
    fs::path chromium() const { return dir.path() / "chromium" / "Default"; }

    test::TempDir dir;
};

TEST(BrowserSourcesOnTheCommandLine, ConvertEveryFolderAndLinkOfTheProfile) {
    BrowserProfiles profiles;
    struct Case {
        std::string source;
        std::string target;
        std::string printed;
    };
    const std::string favorites = "'favorites:" + (profiles.dir / "Favorites") + "'";
    const std::string hotlist = "'opera:" + (profiles.dir / "hotlist.adr") + "'";
    // Sorted output has no place for separators; what else each target
    // cannot hold differs.
    const std::string firefoxLosses = "Not carried over:\n"
                                      "  Separators dropped: 2 (top level, Nested)\n";
    const std::string firefoxReadLosses =
        "  Tags dropped: 1 (Deep link)\n"
        "  Links without a usable address skipped: 1 (Most Visited)\n";
    const Case cases[] = {
        {"'firefox:" + profiles.firefox().string() + "'", favorites,
         "7 Folders & 8 Links Exported Successfully.\n"
         "Not carried over:\n"
         "  Toolbar folder renamed: 1 (\"Bookmarks Toolbar\" -> \"Links\")\n"
         "  Separators dropped: 2 (top level, Nested)\n"
         "  Creation dates dropped: 8 (Zürich – Ünïcode, Toolbar link, 日本語, ...)\n" +
             firefoxReadLosses},
        {"'firefox:" + (profiles.firefox() / "places.sqlite").string() + "'", hotlist,
         "7 Folders & 8 Links Exported Successfully.\n" + firefoxLosses +
             "  Change dates dropped: 8 (日本語, Toolbar link, Phone link, ...)\n" +
             firefoxReadLosses},
        {"'chromium:" + profiles.chromium().string() + "'", hotlist,
         "5 Folders & 5 Links Exported Successfully.\n"},
        {"'chromium:" + (profiles.chromium() / "Bookmarks").string() + "'", favorites,
         "5 Folders & 5 Links Exported Successfully.\n"
         "Not carried over:\n"
         "  Toolbar folder renamed: 1 (\"Bookmarks bar\" -> \"Links\")\n"
         "  Creation dates dropped: 5 (Phone, Ünïcode – 日本語, Bar link, ...)\n"},
    };
    for (const auto& row : cases) {
        fs::remove_all(profiles.dir.path() / "Favorites");
        fs::create_directories(profiles.dir.path() / "Favorites");
        auto run = RunCliHere("convert " + row.source + " " + row.target);
        EXPECT_EQ(run.status, 0) << row.source << run.err;
        EXPECT_EQ(run.out, row.printed) << row.source;
        EXPECT_EQ(RunCliHere("count " + row.source).out, RunCliHere("count " + row.target).out)
            << row.source;
    }
}

#ifndef _WIN32
// A profile a browser runs on, and a database of a layout the writer does
// not know, are refused with the reason, and the store stays as it was. A
// running Chromium is told by its lock link, which Windows has not.
TEST(BrowserSourcesOnTheCommandLine, AProfileThatCannotBeWrittenIsRefusedAndKept) {
    BrowserProfiles profiles;
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    fs::create_symlink(std::string(host) + "-" + std::to_string(::getpid()),
                       profiles.chromium().parent_path() / "SingletonLock");
    const std::string source = "'favorites:" + std::string(TELLAVIN_SAMPLES) + "/Favorites' ";
    const std::pair<fs::path, std::string> rows[] = {
        {profiles.chromium() / "Bookmarks",
         "convert " + source + "'chromium:" + profiles.chromium().string() + "'"},
        {profiles.firefox() / "places.sqlite",
         "convert " + source + "'firefox:" + profiles.firefox().string() + "'"},
    };
    const std::string expected[] = {
        "tellavin-cli: " + profiles.chromium().string() +
            ": lies in Chromium's own folders and Chromium is running; close it and try again\n",
        "tellavin-cli: " + profiles.firefox().string() + ": could not be written\n  " +
            (profiles.firefox() / "places.sqlite").string() +
            "\n  the database's layout is version 0; this program writes versions 86 to 86 "
            "only\n",
    };
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        const auto& [store, command] = rows[row];
        auto before = test::ReadFile(store);
        auto run = RunCliHere(command);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.err, expected[row]);
        EXPECT_EQ(test::ReadFile(store), before) << command;
    }
}

#endif

} // namespace
} // namespace tellavin
