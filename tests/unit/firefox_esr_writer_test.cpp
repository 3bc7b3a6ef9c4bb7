// Debian's Firefox ESR on a profile this program wrote into: the export
// Firefox itself writes of its bookmarks at shutdown holds every link that
// was there and every link added, each once and in its folder; and while
// Firefox runs on the profile, it is said to run.
#include "model/file_tree_builder.h"
#include "sources/firefox_places_reader.h"
#include "sources/source_loader.h"
#include "support/event_tree.h"
#include "support/firefox_esr.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "targets/firefox_places_writer.h"

#include <atomic>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

using test::kFirefoxEsr;
using test::RunFirefoxEsr;
using test::WriteFirefoxPrefs;

std::string DatabaseTree(const fs::path& database) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto why = LoadFirefoxPlaces(database.string(), builder);
    builder.Finish();
    return why.empty() ? test::OrderedTreeText(tree, false) : "unreadable: " + why;
}

std::string ExportTree(const fs::path& file) {
    BookmarkTree tree;
    if (!LoadSourceTree({StoreKind::Netscape, file.string()}, tree)) {
        return "unreadable: " + file.string();
    }
    return test::OrderedTreeText(tree, false);
}

TEST(FirefoxEsrWriter, FirefoxsOwnExportHoldsEveryOldAndEveryNewLinkOnce) {
    if (!fs::exists(kFirefoxEsr)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefoxEsr << ")";
    }
    test::TempDir dir;
    auto profile = dir.path() / "profile";
    WriteFirefoxPrefs(profile, true);
    fs::copy_file(fs::path(TELLAVIN_TEST_DATA) / "browsers" / "firefox-import.html",
                  profile / "bookmarks.html");
    ASSERT_TRUE(RunFirefoxEsr(dir, profile));

    // One address the profile holds already, the others new; a folder, a
    // separator, and a name with quotes.
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Unfiled again", "http://example.com/unfiled");
        sink.BeginFolder("Added \"folder\"");
        sink.AddLink("New one", "https://example.net/one?a=1&b=2");
        sink.AddSeparator();
        sink.AddLink("New two", "https://example.net/two");
        sink.EndFolder();
    });
    WriteOptions options;
    options.keepOrder = true;
    options.place = BrowserRoot::Bar;
    options.newFolder = "Imported";
    NullProgress progress;
    auto result = WriteFirefoxPlaces(tree, (profile / "places.sqlite").string(), options,
                                     std::time(nullptr), progress);
    ASSERT_TRUE(result.ok) << result.outcome.reason;
    auto written = DatabaseTree(profile / "places.sqlite");
    ASSERT_NE(written.find("Imported[ Unfiled again=http://example.com/unfiled"), std::string::npos)
        << written;

    fs::remove(profile / "bookmarks.html");
    WriteFirefoxPrefs(profile, false);
    ASSERT_TRUE(RunFirefoxEsr(dir, profile));
    EXPECT_EQ(ExportTree(profile / "bookmarks.html"), written);
}

TEST(FirefoxEsrWriter, AFirefoxRunningOnTheProfileIsSeen) {
    if (!fs::exists(kFirefoxEsr)) {
        GTEST_SKIP() << "Firefox ESR is not installed (" << kFirefoxEsr << ")";
    }
    test::TempDir dir;
    auto profile = dir.path() / "profile";
    WriteFirefoxPrefs(profile, false);
    std::atomic<bool> ended = false;
    ::testing::AssertionResult ran = ::testing::AssertionSuccess();
    std::thread firefox([&] {
        ran = RunFirefoxEsr(dir, profile);
        ended = true;
    });
    // Asked until Firefox says so or quits; its lock lasts for its whole run.
    bool seen = false;
    while (!ended && !seen) {
        seen = FirefoxRunsOnProfile(profile.string()) == std::optional<bool>(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    firefox.join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(seen);
    EXPECT_EQ(FirefoxRunsOnProfile(profile.string()), std::optional<bool>(false));
}

} // namespace
} // namespace tellavin
