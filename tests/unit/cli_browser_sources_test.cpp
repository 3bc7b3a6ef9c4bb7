// The command line converting from a Firefox profile's database and a
// Chromium profile's Bookmarks file, named by profile folder or by file.
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

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
        "  Tags dropped: 1 (news)\n"
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

TEST(BrowserSourcesOnTheCommandLine, ABrowserStoreThatCannotBeWrittenIsRefused) {
    BrowserProfiles profiles;
    auto before = test::ReadFile(profiles.firefox() / "places.sqlite");
    auto run = RunCliHere("convert 'favorites:" + std::string(TELLAVIN_SAMPLES) +
                          "/Favorites' 'firefox:" + profiles.firefox().string() + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tellavin-cli: " + profiles.firefox().string() +
                           ": there is no conversion from a Favorites folder to a Firefox "
                           "profile\n");
    EXPECT_EQ(test::ReadFile(profiles.firefox() / "places.sqlite"), before);
}

} // namespace
} // namespace tellavin
