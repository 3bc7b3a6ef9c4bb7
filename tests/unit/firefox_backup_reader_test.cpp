// Firefox's bookmark backups (bookmarkbackups/*.jsonlz4 and plain .json)
// read as sources: the tree the database reader gives for the same
// bookmarks, refusals with their reasons, recognition by content and the
// newest backup of a profile found.
#include "cli/store_argument.h"
#include "model/bookmark_counts.h"
#include "sources/browser_discovery.h"
#include "sources/firefox_backup_reader.h"
#include "sources/mozlz4.h"
#include "sources/source_loader.h"
#include "sources/store_detection.h"
#include "support/ordered_tree.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return (fs::path(TELLAVIN_TEST_DATA) / "browsers" / name).string();
}

std::string Backup(const std::string& name) {
    return Fixture("firefox-backup/" + name);
}

// The reason a compressed backup that this build reads gives; a build
// without LZ4 refuses every compressed backup with its own.
std::string Compressed(const std::string& reason) {
#if TELLAVIN_HAS_LZ4
    return reason;
#else
    (void)reason;
    return kMozLz4Unsupported;
#endif
}

// The root's text, the tree as loaded in its own order (addresses, dates,
// separators, the toolbar mark) and what reading left out, after checking
// that counting it gives the tree's own counts.
std::string Loaded(const StoreLocation& source) {
    BookmarkTree tree;
    auto read = LoadSourceTree(source, tree);
    if (!read) {
        return "refused: " + read.reason;
    }
    auto [counted, counts] = CountSource(source);
    EXPECT_TRUE(counted) << source.path << ": " << counted.reason;
    auto loaded = CountBookmarks(tree);
    EXPECT_EQ(counts.folders, loaded.folders) << source.path;
    EXPECT_EQ(counts.links, loaded.links) << source.path;
    auto text = tree.Node(0).Text + ": " + test::OrderedTreeText(tree, true, true);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

std::string LoadedBackup(const std::string& path) {
    return Loaded({StoreKind::FirefoxBackup, path});
}

// The bookmarks of the database fixture nested-folders-tags-queries.sqlite,
// as the database reader gives them.
constexpr const char* kNestedTree =
    "Bookmarks Menu: root[ "
    "Zürich – Ünïcode=https://example.org/z%C3%BCrich{1600000101/1600086501} "
    "Nested{1600000102/1600086502}[ Deep{1600000103/1600086503}[ "
    "Deep link=http://example.com/deep?a=1&b=<2>{1600000104/1600086504}<t:news> ] "
    "--- After separator=http://example.com/after{1600000106/1600086506} ] "
    "Empty{1600000107/1600086507}[ ] "
    "=http://example.com/untitled{1600000109/1600086509} --- Bookmarks Toolbar*[ "
    "Toolbar link=http://example.com/toolbar{1600000111/1600086511} "
    "Tools{1600000112/1600086512}[ 日本語=http://example.jp/{1600000113/1600086513} ] ] "
    "Other Bookmarks[ Unfiled link=http://example.com/unfiled{1600000114/1600086514} ] "
    "Mobile Bookmarks[ Phone link=http://example.com/phone{1600000115/1600086515} ] ]\n"
    "Links without a usable address skipped: 1 (Most Visited)";

TEST(FirefoxBackups, EachBackupReadsAsOneWholeTree) {
    const std::pair<std::string, std::string> cases[] = {
        {"nested-folders-tags-queries.json", kNestedTree},
        {"nested-folders-tags-queries.jsonlz4", Compressed(kNestedTree)},
        // A keyword and two tags kept, an icon and "postData" ignored, a
        // link's children skipped, roots without "children" left out.
        {"quirks.json",
         "Bookmarks Menu: root[ Work{1600000101/1600086501}[ "
         "Keyworded=https://example.org/search?q=%s{1600000102/1600086502}<k:kw> "
         "Tagged=https://example.org/tagged{1600000103/1600086503}<t:news,read later> ] "
         "Odd link=https://example.org/odd{1600000104/1600086504} Bookmarks Toolbar*[ "
         "Toolbar link=http://example.com/toolbar{1600000105/1600086505} ] ]\n"
         "Entries of an unknown kind or place skipped: 1 (Inside a link)"},
    };
    for (const auto& [fixture, tree] : cases) {
        auto loaded = LoadedBackup(Backup(fixture));
        if (loaded.starts_with("refused: ")) {
            loaded.erase(0, 9);
        }
        EXPECT_EQ(loaded, tree) << fixture;
    }
}

// The fixture script writes the backup from the same calls that fill the
// database fixture.
TEST(FirefoxBackups, ABackupGivesTheTreeOfTheDatabaseWithTheSameBookmarks) {
    EXPECT_EQ(LoadedBackup(Backup("nested-folders-tags-queries.json")),
              Loaded({StoreKind::Firefox, Fixture("nested-folders-tags-queries.sqlite")}));
}

// Firefox 115's "Backup…" of Mozilla's test profile: "typeCode" beside
// "type", roots titled by their keys, an "index" that skips the tags root,
// unfiled and mobile roots without "children", keywords with "postData".
TEST(FirefoxBackups, TheCorpusBackupReadsWithItsFoldersAndLinks) {
    auto corpus = test::CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "shared corpus not present";
    }
    auto path = (corpus / "firefox-backup" / "firefox-2023-exported-pretty.json").string();
    StoreLocation source{StoreKind::FirefoxBackup, path};
    BookmarkTree tree;
    ASSERT_TRUE(LoadSourceTree(source, tree)) << path;
    auto counts = CountBookmarks(tree);
    std::string summary = std::to_string(counts.folders) + " folders, " +
                          std::to_string(counts.links) + " links; " + tree.Node(0).Text;
    for (const auto& line : tree.ReadLosses.Lines()) {
        summary += "; " + line;
    }
    EXPECT_EQ(summary, "2 folders, 10 links; Bookmarks Menu");
}

TEST(FirefoxBackups, HostileFilesAreRefusedWithAReasonNamingTheFile) {
    auto nested = test::ReadFile(Backup("nested-folders-tags-queries.jsonlz4"));
    auto json = test::ReadFile(Backup("nested-folders-tags-queries.json"));
    auto header = [](std::uint32_t size) {
        std::string bytes(kMozLz4Magic);
        for (int n = 0; n < 4; ++n) {
            bytes += static_cast<char>(size >> (8 * n) & 0xFF);
        }
        return bytes;
    };
    // Ten literals in one LZ4 sequence.
    const std::string tenLiterals = "\xA0{\"a\":\"bc\"}";
    const std::string declared = std::to_string(json.size());
    const std::pair<std::string, std::string> cases[] = {
        {"", kNotFirefoxBackup},
        {std::string(kMozLz4Magic),
         Compressed("damaged compressed backup: its header is cut short")},
        {header(0xFFFFFFFF) + tenLiterals,
         Compressed("compressed backup too large: it says it holds 4294967295 bytes, more than "
                    "1073741824")},
        {nested.substr(0, nested.size() / 2),
         Compressed("damaged compressed backup: its block does not decompress to the " + declared +
                    " bytes it says it holds")},
        {header(1 << 29) + tenLiterals,
         Compressed("damaged compressed backup: its block does not decompress to the 536870912 "
                    "bytes it says it holds")},
        {header(100) + tenLiterals,
         Compressed("damaged compressed backup: its block does not decompress to the 100 bytes it "
                    "says it holds")},
        {header(5) + tenLiterals,
         Compressed("damaged compressed backup: its block does not decompress to the 5 bytes it "
                    "says it holds")},
        // Ten bytes of a match whose offset points before the start.
        {header(10) + "\x10{\x40\x00", Compressed("damaged compressed backup: its block does not "
                                                  "decompress to the 10 bytes it says it holds")},
        {header(10) + tenLiterals, Compressed(kNotFirefoxBackup)},
        {json.substr(0, json.size() / 2), kNotFirefoxBackup},
        {test::ReadFile(Fixture("chromium-nested-roots.json")), kNotFirefoxBackup},
        {R"({"root":"placesRoot","children":[{"root":"toolbarFolder","children":[]}]})",
         kNotFirefoxBackup},
        {R"({"root":"menu","children":[{"root":"bookmarksMenuFolder","children":[]}]})",
         kNotFirefoxBackup},
    };
    test::TempDir dir;
    auto path = dir / "bookmarks-2026-12-07_5_x.jsonlz4";
    for (const auto& [bytes, reason] : cases) {
        test::WriteFile(path, bytes);
        BookmarkTree tree;
        std::ostringstream err;
        EXPECT_FALSE(cli::LoadStoreTree({StoreKind::FirefoxBackup, path}, tree, err)) << reason;
        EXPECT_EQ(err.str(), "tellavin-cli: cannot read " + path + ": " + reason + "\n");
    }
}

// Folders nested far deeper than any browser writes are read, each one,
// without recursion.
TEST(FirefoxBackups, NestingDepthIsNotLimited) {
    constexpr int kDepth = 100'000;
    std::string json = R"({"root":"placesRoot","children":[{"root":"bookmarksMenuFolder",)";
    for (int n = 0; n < kDepth; ++n) {
        json += R"("children":[{"type":"text/x-moz-place-container","title":"f",)";
    }
    json += R"("children":[{"type":"text/x-moz-place","uri":"http://example.com/"}])";
    for (int n = 0; n < kDepth; ++n) {
        json += "}]";
    }
    json += "}]}";
    test::TempDir dir;
    auto path = dir / "deep.json";
    test::WriteFile(path, json);
    BookmarkTree tree;
    ASSERT_TRUE(LoadSourceTree({StoreKind::FirefoxBackup, path}, tree));
    auto counts = CountBookmarks(tree);
    EXPECT_EQ(std::pair(counts.folders, counts.links), std::pair(kDepth, 1));
}

TEST(FirefoxBackups, BackupsAreRecognisedByTheirContent) {
    test::TempDir dir;
    const std::pair<std::string, std::string> cases[] = {
        {test::ReadFile(Backup("nested-folders-tags-queries.jsonlz4")), "firefox-backup"},
        {test::ReadFile(Backup("nested-folders-tags-queries.json")), "firefox-backup"},
        {test::ReadFile(Backup("quirks.json")), "firefox-backup"},
        {"\xEF\xBB\xBF  {\"root\": \"placesRoot\"}", "firefox-backup"},
        {test::ReadFile(Fixture("chromium-nested-roots.json")), "chromium"},
        {"[\"placesRoot\"]", "netscape"},
        // A bookmark of that name is no root.
        {R"({"roots":{"bookmark_bar":{"children":[],"name":"placesRoot","root":1}}})", "chromium"},
    };
    auto path = dir / "bookmarks";
    for (const auto& [bytes, kind] : cases) {
        test::WriteFile(path, bytes);
        auto location = RecognizeStoreLocation(path);
        ASSERT_TRUE(location) << kind;
        EXPECT_EQ(StoreKindName(location->kind), kind) << bytes.substr(0, 40);
    }
}

TEST(FirefoxBackups, DiscoveryOffersTheNewestBackupOfAProfile) {
    struct Case {
        std::vector<std::string> files;
        std::string found;
    };
    const Case cases[] = {
        {{"bookmarks-2026-12-05_10_abc=.jsonlz4", "bookmarks-2026-12-07_12_def=.jsonlz4",
          "bookmarks-2026-12-06.json", "bookmarks-2027-01-01.txt", "notes-2028-01-01.json"},
         "Firefox default (backup 2026-12-07) bookmarks-2026-12-07_12_def=.jsonlz4"},
        {{"bookmarks-2025-01-01.json", "bookmarks-2024-12-31_3_x.jsonlz4"},
         "Firefox default (backup 2025-01-01) bookmarks-2025-01-01.json"},
        {{"bookmarks-20X6-12-07_1_x.jsonlz4", "bookmarks-.jsonlz4"}, "none"},
        {{}, "none"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        fs::create_directories(dir.path() / "profile" / "bookmarkbackups");
        for (const auto& file : row.files) {
            test::WriteFile(dir.path() / "profile" / "bookmarkbackups" / file, "{}");
        }
        auto backup = FirefoxProfileBackup(dir / "profile", "default");
        std::string found = "none";
        if (backup) {
            found = backup->label + " " + fs::path(backup->location.path).filename().string();
            EXPECT_EQ(backup->location.kind, StoreKind::FirefoxBackup);
        }
        EXPECT_EQ(found, row.found);
    }
}

TEST(FirefoxBackups, ACompressedBackupConvertsOnTheCommandLine) {
    test::TempDir dir;
    auto source = Backup("nested-folders-tags-queries.jsonlz4");
    auto run = test::RunCliHere("convert 'firefox-backup:" + source +
                                "' 'netscape:" + (dir / "x.html") + "'");
#if TELLAVIN_HAS_LZ4
    EXPECT_EQ(run.out + run.err, "7 Folders & 8 Links Exported Successfully.\n"
                                 "Not carried over:\n"
                                 "  Separators dropped: 2 (top level, Nested)\n"
                                 "  Links without a usable address skipped: 1 (Most Visited)\n");
#else
    const std::string refusal = std::string(": cannot be read: ") + kMozLz4Unsupported + "\n";
    EXPECT_EQ(std::pair(run.out, run.err.ends_with(refusal)), std::pair(std::string(), true))
        << run.err;
#endif
}

} // namespace
} // namespace tellavin
