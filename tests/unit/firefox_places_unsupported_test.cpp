// A build without SQLite (the Windows cross build) still knows a Firefox
// database by its content, but refuses it with the build's reason instead
// of reading it as empty or as a bookmark file; Chromium's file still reads.
// Writing one is refused the same way.
#include "sources/firefox_places_reader.h"
#include "sources/source_loader.h"
#include "support/temp_dir.h"
#include "targets/firefox_places_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// Whether the source loaded and counted, and why it is unreadable, on one line.
std::string Outcome(const std::string& fixture) {
    StoreLocation source{StoreKind::Netscape,
                         (fs::path(TELLAVIN_TEST_DATA) / "browsers" / fixture).string()};
    BookmarkTree tree;
    auto loaded = LoadSourceTree(source, tree);
    auto counted = CountSource(source).read;
    return std::string(loaded ? "loaded" : "not loaded") + ", " +
           (counted ? "counted" : "not counted") + ", why: " + loaded.reason;
}

TEST(FirefoxWithoutSqlite, EveryDatabaseIsRefusedWithTheBuildsReason) {
    const std::string refused =
        std::string("not loaded, not counted, why: ") + kFirefoxPlacesUnsupported;
    const std::pair<const char*, std::string> cases[] = {
        {"nested-folders-tags-queries.sqlite", refused},
        {"unmerged-wal.sqlite", refused},
        {"sqlite-without-bookmarks.sqlite", refused},
        {"chromium-nested-roots.json", "loaded, counted, why: "},
    };
    for (const auto& [fixture, expected] : cases) {
        EXPECT_EQ(Outcome(fixture), expected) << fixture;
    }
}

// The writer refuses with the build's reason and leaves the file alone.
TEST(FirefoxWithoutSqlite, EveryWriteIsRefusedWithTheBuildsReason) {
    test::TempDir dir;
    auto database = dir / "places.sqlite";
    test::WriteFile(database, "not touched");
    BookmarkTree tree;
    NullProgress progress;
    auto result = WriteFirefoxPlaces(tree, database, {}, 0, progress);
    EXPECT_EQ(std::string(result.ok ? "written" : "refused") + ": " + result.outcome.reason + ", " +
                  test::ReadFile(database),
              std::string("refused: ") + kFirefoxPlacesWriteUnsupported + ", not touched");
}

} // namespace
} // namespace tellavin
