// An export added to a Firefox profile's places.sqlite: into the chosen
// root after what is there, with the rows Firefox itself makes, leaving
// every row that was there as it was, backed up first, and all or nothing.
// The fixtures have the layout Debian's Firefox ESR gives a new profile.
#include "model/file_tree_builder.h"
#include "sources/firefox_places_reader.h"
#include "support/event_tree.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "targets/backup_copy.h"
#include "targets/firefox_place_rows.h"
#include "targets/firefox_places_writer.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>
#include <sstream>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// 2025-12-06 05:33:20 UTC: the export's time.
constexpr std::time_t kNow = 1'765'000'000;

fs::path Fixture(const std::string& name) {
    return fs::path(TELLAVIN_TEST_DATA) / "browsers" / name;
}

// A profile folder holding a copy of the fixture as places.sqlite; the
// database's path.
std::string ProfileWith(const test::TempDir& dir, const std::string& fixture) {
    auto profile = dir.path() / "profile";
    fs::create_directories(profile);
    fs::copy_file(Fixture(fixture), profile / "places.sqlite");
    return (profile / "places.sqlite").string();
}

// The rows a query gives, a line each with its columns joined by "|".
std::string Query(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string rows;
    auto collect = [](void* out, int columns, char** values, char**) {
        auto& text = *static_cast<std::string*>(out);
        for (int n = 0; n < columns; ++n) {
            text += (n > 0 ? "|" : "") + std::string(values[n] != nullptr ? values[n] : "NULL");
        }
        text += "\n";
        return 0;
    };
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), collect, &rows, &error) != SQLITE_OK) {
        rows += std::string("error: ") + (error != nullptr ? error : "");
    }
    sqlite3_free(error);
    sqlite3_close(db);
    return rows;
}

void Change(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(database.c_str(), &db);
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << (error != nullptr ? error : "");
    }
    sqlite3_free(error);
    sqlite3_close(db);
}

// The database read back by the reader as one line, or why it was not;
// withDetails adds folder dates, keywords and tags (OrderedTreeText).
std::string ReadBack(const std::string& database, bool withDetails = false) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto why = LoadFirefoxPlaces(database, builder);
    builder.Finish();
    return why.empty() ? test::OrderedTreeText(tree, true, withDetails) : "unreadable: " + why;
}

// A source with a link before a folder, a separator, nesting, dates on one
// link and none on the others, and a name that needs no escaping in SQL.
BookmarkTree Source() {
    return test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Zeta", "http://example.com/shared");
        sink.SetLinkDates(1'500'000'000, 1'500'000'100);
        sink.BeginFolder("Found");
        sink.AddLink("It's new", "https://example.net/new?a=1&b=2");
        sink.AddSeparator();
        sink.BeginFolder("Inner");
        sink.AddLink("Visited", "http://example.com/visited");
        sink.EndFolder();
        sink.EndFolder();
        sink.AddLink("Alpha", "https://example.org/alpha");
    });
}

// The outcome of a write in one line: its kind, counts and names, or the
// failure's message.
std::string Summary(const ExportResult& result) {
    if (!result.ok) {
        std::string text = "refused:";
        for (const auto& line : result.message.lines) {
            text += " " + line;
        }
        return text;
    }
    return "folders " + std::to_string(result.nFoldersWritten) + ", links " +
           std::to_string(result.nLinksWritten) + ", into " + result.sPlaceName + " / " +
           result.sNewFolder + ", losses " + std::to_string(result.losses.Lines().size());
}

ExportResult Write(const std::string& database, const WriteOptions& options,
                   BookmarkTree tree = Source()) {
    NullProgress progress;
    return WriteFirefoxPlaces(tree, database, options, kNow, progress);
}

TEST(FirefoxPlaceRows, AddressesHashAndSplitAsFirefoxStoredThem) {
    std::ifstream table(Fixture("firefox-esr-addresses.tsv"));
    std::string line;
    int rows = 0;
    while (std::getline(table, line)) {
        if (line.starts_with('#')) {
            continue;
        }
        std::istringstream fields(line);
        std::string url;
        std::string stored;
        std::getline(fields, url, '\t');
        std::getline(fields, stored);
        auto origin = FirefoxOriginOf(url);
        auto ours = std::to_string(FirefoxUrlHash(url)) + "\t" + FirefoxReversedHost(url) + "\t" +
                    origin.prefix + "\t" + origin.host;
        EXPECT_EQ(ours, stored) << url;
        ++rows;
    }
    EXPECT_EQ(rows, 22);
}

TEST(FirefoxPlaceRows, GuidsAreTwelveUrlSafeCharactersAndDiffer) {
    std::set<std::string> guids;
    for (int n = 0; n < 1000; ++n) {
        auto guid = NewFirefoxGuid();
        EXPECT_EQ(guid.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                         "0123456789-_"),
                  std::string::npos)
            << guid;
        EXPECT_EQ(guid.size(), 12U) << guid;
        guids.insert(guid);
    }
    EXPECT_EQ(guids.size(), 1000U);
}

struct PlaceCase {
    const char* fixture;
    BrowserRoot place;
    std::optional<std::string> newFolder;
    bool keepOrder;
    std::string expected; // the summary, a line break, the tree read back
};

TEST(FirefoxPlacesWriter, TheExportIsAddedToTheChosenRootAfterWhatIsThere) {
    const std::string empty = "firefox-86-empty.sqlite";
    const std::string full = "firefox-86-folders-tags-keywords.sqlite";
    const PlaceCase cases[] = {
        {empty.c_str(), BrowserRoot::Other, std::nullopt, false,
         "folders 2, links 4, into Other Bookmarks / , losses 1\n"
         "root[ Other Bookmarks[ Found[ Inner[ "
         "Visited=http://example.com/visited{1765000000/1765000000} ] It's "
         "new=https://example.net/new?a=1&b=2{1765000000/1765000000} ] "
         "Alpha=https://example.org/alpha{1765000000/1765000000} "
         "Zeta=http://example.com/shared{1500000000/1500000100} ] ]"},
        {empty.c_str(), BrowserRoot::Bar, "Imported", true,
         "folders 2, links 4, into Bookmarks Toolbar / Imported, losses 0\n"
         "root[ Bookmarks Toolbar*[ Imported[ "
         "Zeta=http://example.com/shared{1500000000/1500000100} Found[ It's "
         "new=https://example.net/new?a=1&b=2{1765000000/1765000000} --- Inner[ "
         "Visited=http://example.com/visited{1765000000/1765000000} ] ] "
         "Alpha=https://example.org/alpha{1765000000/1765000000} ] ] ]"},
        {full.c_str(), BrowserRoot::Menu, "Imported", true,
         "folders 2, links 4, into Bookmarks Menu / Imported, losses 0\n"
         "root[ Menu link=https://example.org/menu{1600000102/1600000102} Work[ "
         "Keyworded=https://example.org/search?q=%s{1600000105/1600000105} --- Deep[ Deep "
         "link=http://example.com/deep{1600000109/1600000109} ] ] Imported[ "
         "Zeta=http://example.com/shared{1500000000/1500000100} Found[ It's "
         "new=https://example.net/new?a=1&b=2{1765000000/1765000000} --- Inner[ "
         "Visited=http://example.com/visited{1765000000/1765000000} ] ] "
         "Alpha=https://example.org/alpha{1765000000/1765000000} ] Bookmarks Toolbar*[ Toolbar "
         "link=http://example.com/toolbar{1600000111/1600000111} ] Other Bookmarks[ Unfiled "
         "link=http://example.com/unfiled{1600000113/1600000113} Old[ ] ] ]"},
        {full.c_str(), BrowserRoot::Other, std::nullopt, true,
         "folders 2, links 4, into Other Bookmarks / , losses 0\n"
         "root[ Menu link=https://example.org/menu{1600000102/1600000102} Work[ "
         "Keyworded=https://example.org/search?q=%s{1600000105/1600000105} --- Deep[ Deep "
         "link=http://example.com/deep{1600000109/1600000109} ] ] Bookmarks Toolbar*[ Toolbar "
         "link=http://example.com/toolbar{1600000111/1600000111} ] Other Bookmarks[ Unfiled "
         "link=http://example.com/unfiled{1600000113/1600000113} Old[ ] "
         "Zeta=http://example.com/shared{1500000000/1500000100} Found[ It's "
         "new=https://example.net/new?a=1&b=2{1765000000/1765000000} --- Inner[ "
         "Visited=http://example.com/visited{1765000000/1765000000} ] ] "
         "Alpha=https://example.org/alpha{1765000000/1765000000} ] ]"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto database = ProfileWith(dir, row.fixture);
        WriteOptions options;
        options.place = row.place;
        options.newFolder = row.newFolder;
        options.keepOrder = row.keepOrder;
        auto result = Write(database, options);
        EXPECT_EQ(Summary(result) + "\n" + ReadBack(database), row.expected) << row.fixture;
    }
}

// The lines of after that are not in before.
std::string Changed(const std::string& before, const std::string& after) {
    std::set<std::string> old;
    std::istringstream lines(before);
    for (std::string line; std::getline(lines, line);) {
        old.insert(line);
    }
    std::string changed;
    std::istringstream now(after);
    for (std::string line; std::getline(now, line);) {
        if (!old.contains(line)) {
            changed += line + "\n";
        }
    }
    return changed;
}

TEST(FirefoxPlacesWriter, NewRowsAreThoseFirefoxMakesAndSharePlacesThatAreThere) {
    test::TempDir dir;
    auto database = ProfileWith(dir, "firefox-86-existing-addresses.sqlite");
    WriteOptions options;
    options.newFolder = "Imported";
    options.keepOrder = true;
    auto result = Write(database, options);
    ASSERT_TRUE(result.ok) << Summary(result);
    // Parents by title, places by address; the GUIDs by their length.
    EXPECT_EQ(
        Query(database,
              "SELECT b.type, (SELECT IFNULL(f.title, f.guid) FROM moz_bookmarks f"
              " WHERE f.id = b.parent), b.position, b.title, b.dateAdded, b.lastModified,"
              " b.syncStatus, b.syncChangeCounter, length(b.guid), p.url, p.url_hash,"
              " p.rev_host, p.frecency, p.foreign_count, p.hidden, p.recalc_frecency,"
              " p.recalc_alt_frecency, p.visit_count, length(p.guid), o.prefix, o.host,"
              " o.frecency FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk"
              " LEFT JOIN moz_origins o ON o.id = p.origin_id WHERE b.id > 102 ORDER BY b.id"),
        "2|unfiled|1|Imported|1765000000000000|1765000000000000|1|1|12|NULL|NULL|NULL|NULL|"
        "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL\n"
        "1|Imported|0|Zeta|1500000000000000|1500000100000000|1|1|12|"
        "http://example.com/shared|125511509581385|moc.elpmaxe.|1|2|0|1|1|0|12|http://|"
        "example.com|-1\n"
        "2|Imported|1|Found|1765000000000000|1765000000000000|1|1|12|NULL|NULL|NULL|NULL|"
        "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL\n"
        "1|Found|0|It's new|1765000000000000|1765000000000000|1|1|12|"
        "https://example.net/new?a=1&b=2|47360458482269|ten.elpmaxe.|1|1|0|1|1|0|12|"
        "https://|example.net|-1\n"
        "3|Found|1|NULL|1765000000000000|1765000000000000|1|1|12|NULL|NULL|NULL|NULL|NULL|"
        "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL\n"
        "2|Found|2|Inner|1765000000000000|1765000000000000|1|1|12|NULL|NULL|NULL|NULL|NULL|"
        "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL\n"
        "1|Inner|0|Visited|1765000000000000|1765000000000000|1|1|12|"
        "http://example.com/visited|125511669155611|moc.elpmaxe.|200|1|0|1|1|3|12|http://|"
        "example.com|-1\n"
        "1|Imported|2|Alpha|1765000000000000|1765000000000000|1|1|12|"
        "https://example.org/alpha|47359683042156|gro.elpmaxe.|1|1|0|1|1|0|12|https://|"
        "example.org|-1\n");
    // The root that received the export, and the places root above it,
    // changed at the export's time; the root counts one change.
    EXPECT_EQ(Query(database, "SELECT guid, lastModified, syncChangeCounter FROM moz_bookmarks"
                              " WHERE id <= 6 ORDER BY id"),
              "root________|1765000000000000|1\nmenu________|1600000000000000|1\n"
              "toolbar_____|1600000000000000|1\ntags________|1600000000000000|1\n"
              "unfiled_____|1765000000000000|2\nmobile______|1600000000000000|1\n");
    EXPECT_EQ(Query(database, "SELECT count(*) FROM moz_places; SELECT count(*) FROM moz_origins;"
                              " SELECT count(DISTINCT guid) FROM moz_bookmarks;"),
              "4\n3\n15\n");
}

// Tags become bookmarks in tag folders (a tag there already shared), a
// keyword a moz_keywords row of the place in lower case, each counted in
// the place's foreign_count; a keyword another place has, or one for a
// place with a keyword already, is reported, as descriptions are. Folders
// keep their dates.
TEST(FirefoxPlacesWriter, TagsKeywordsAndFolderDatesAreStoredAsFirefoxStoresThem) {
    test::TempDir dir;
    auto database = ProfileWith(dir, "firefox-86-folders-tags-keywords.sqlite");
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("Dated");
        sink.SetFolderDates(1'400'000'000, 1'400'000'500);
        sink.SetFolderDescription("Mine");
        sink.AddLink("Tagged", "http://example.com/tagged");
        sink.SetLinkKeyword("TG");
        sink.SetLinkTags({"news", "fresh"});
        sink.SetLinkDescription("About");
        sink.AddLink("Taken keyword", "http://example.com/taken");
        sink.SetLinkKeyword("kw");
        sink.EndFolder();
        sink.AddLink("Deep again", "http://example.com/deep");
        sink.SetLinkTags({"news"});
        sink.SetLinkKeyword("deep");
        sink.AddLink("Searched", "https://example.org/search?q=%s");
        sink.SetLinkKeyword("other");
    });
    WriteOptions options;
    options.keepOrder = true;
    auto result = Write(database, options, std::move(tree));
    ASSERT_TRUE(result.ok) << Summary(result);
    std::string losses;
    for (const auto& line : result.losses.Lines()) {
        losses += line + "\n";
    }
    EXPECT_EQ(losses + ReadBack(database, true) + "\n" +
                  Query(database, "SELECT k.keyword, p.url, p.foreign_count FROM moz_keywords k"
                                  " JOIN moz_places p ON p.id = k.place_id ORDER BY k.id") +
                  Query(database, "SELECT t.title, p.url FROM moz_bookmarks b"
                                  " JOIN moz_bookmarks t ON t.id = b.parent"
                                  " JOIN moz_places p ON p.id = b.fk WHERE t.parent = 4"
                                  " ORDER BY t.title, p.url"),
              "Descriptions dropped: 2 (Dated, Tagged)\n"
              "Keywords dropped: 2 (Taken keyword, Searched)\n"
              "root[ Menu link=https://example.org/menu{1600000102/1600000102}<t:news> "
              "Work{1600000103/1600000103}[ "
              "Keyworded=https://example.org/search?q=%s{1600000105/1600000105}<k:kw> --- "
              "Deep{1600000107/1600000107}[ Deep "
              "link=http://example.com/deep{1600000109/1600000109}<k:deep t:news> ] ] Bookmarks "
              "Toolbar*[ Toolbar link=http://example.com/toolbar{1600000111/1600000111} ] Other "
              "Bookmarks[ Unfiled link=http://example.com/unfiled{1600000113/1600000113} "
              "Old{1600000114/1600000114}[ ] Dated{1400000000/1400000500}[ "
              "Tagged=http://example.com/tagged{1765000000/1765000000}<k:tg t:fresh,news> Taken "
              "keyword=http://example.com/taken{1765000000/1765000000} ] Deep "
              "again=http://example.com/deep{1765000000/1765000000}<k:deep t:news> "
              "Searched=https://example.org/search?q=%s{1765000000/1765000000}<k:kw> ] ]\n"
              "kw|https://example.org/search?q=%s|3\n"
              "tg|http://example.com/tagged|4\n"
              "deep|http://example.com/deep|4\n"
              "fresh|http://example.com/tagged\n"
              "news|http://example.com/deep\n"
              "news|http://example.com/tagged\n"
              "news|https://example.org/menu\n");
}

// Everything a profile held before stays as it was: the rows' ids, GUIDs,
// places, positions, tags, keywords and annotations. Only the receiving
// root's (and its ancestors') change time and counter and the shared
// place's reference count and frecency flags change.
TEST(FirefoxPlacesWriter, RowsThatWereThereStayAsTheyWere) {
    test::TempDir dir;
    auto database = ProfileWith(dir, "firefox-86-folders-tags-keywords.sqlite");
    const std::string fixed =
        "SELECT id, type, fk, parent, position, title, keyword_id, folder_type, dateAdded, guid,"
        " syncStatus FROM moz_bookmarks WHERE id <= 116;"
        "SELECT id, url, title, rev_host, visit_count, typed, last_visit_date, guid, url_hash,"
        " origin_id FROM moz_places WHERE id <= 5;"
        "SELECT * FROM moz_keywords; SELECT * FROM moz_items_annos;"
        "SELECT * FROM moz_anno_attributes; SELECT * FROM moz_origins WHERE id <= 2;";
    const std::string moving =
        "SELECT id, lastModified, syncChangeCounter FROM moz_bookmarks WHERE id <= 116;"
        "SELECT id, foreign_count, frecency, hidden, recalc_frecency, recalc_alt_frecency"
        " FROM moz_places WHERE id <= 5;";
    auto fixedBefore = Query(database, fixed);
    auto movingBefore = Query(database, moving);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Again", "http://example.com/deep");
        sink.AddLink("Fresh", "http://example.com/fresh");
    });
    auto result = Write(database, {}, std::move(tree));
    ASSERT_TRUE(result.ok) << Summary(result);
    EXPECT_EQ(Query(database, fixed), fixedBefore);
    EXPECT_EQ(Changed(movingBefore, Query(database, moving)),
              "1|1765000000000000|1\n5|1765000000000000|2\n3|2|1|0|1|1\n");
}

struct FailureCase {
    const char* what;
    std::function<void(const std::string& database)> prepare;
    std::string expected; // the refusal, with the profile folder as <profile>
};

// Replaces every occurrence of the folder's path in text with a name.
std::string Named(std::string text, const std::string& folder, const std::string& name) {
    for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
        text.replace(at, folder.size(), name);
    }
    return text;
}

TEST(FirefoxPlacesWriter, AFailureLeavesTheDatabaseByteForByteAndNoBackup) {
    auto damage = [](const std::string& database) {
        std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(5 * 1024);
        file << std::string(20 * 1024, 'x');
    };
    const FailureCase cases[] = {
        {"a row that cannot be added, half-way",
         [](const std::string& database) {
             Change(database, "CREATE TRIGGER refuse BEFORE INSERT ON moz_bookmarks"
                              " WHEN NEW.title = 'Inner' BEGIN SELECT RAISE(ABORT, 'forced'); END");
         },
         "refused: <profile>/places.sqlite forced; the database was left as it was"},
        {"a layout not tried",
         [](const std::string& database) { Change(database, "PRAGMA user_version = 91"); },
         "refused: <profile>/places.sqlite the database's layout is version 91; this program "
         "writes versions 86 to 86 only"},
        {"damaged pages", damage,
         "refused: <profile>/places.sqlite database disk image is malformed"},
        {"no receiving root",
         [](const std::string& database) {
             Change(database, "DELETE FROM moz_bookmarks WHERE guid = 'unfiled_____'");
         },
         "refused: <profile>/places.sqlite not a Firefox bookmark database"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto database = ProfileWith(dir, "firefox-86-folders-tags-keywords.sqlite");
        row.prepare(database);
        auto bytes = test::ReadFile(database);
        std::set<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir.path() / "profile")) {
            files.insert(entry.path().filename().string());
        }
        auto summary = Summary(Write(database, {}));
        EXPECT_EQ(Named(summary, (dir.path() / "profile").string(), "<profile>"), row.expected)
            << row.what;
        EXPECT_TRUE(test::ReadFile(database) == bytes) << row.what;
        std::set<std::string> filesAfter;
        for (const auto& entry : fs::directory_iterator(dir.path() / "profile")) {
            filesAfter.insert(entry.path().filename().string());
        }
        EXPECT_EQ(filesAfter, files) << row.what;
    }
}

// Rows that the check after the commit finds broken (here: a folder of the
// export removed by another program meanwhile, so its links lie nowhere)
// make the writer put the backup back, which holds the profile as it was.
TEST(FirefoxPlacesWriter, AFailedCheckAfterTheCommitPutsTheBackupBack) {
    test::TempDir dir;
    auto database = ProfileWith(dir, "firefox-86-folders-tags-keywords.sqlite");
    auto before = ReadBack(database);
    auto tree = Source();
    NullProgress progress;
    auto result = detail::WriteFirefoxPlaces(
        tree, database, {}, kNow, progress, [](const std::string& written) {
            Change(written, "DELETE FROM moz_bookmarks WHERE title = 'Found'");
        });
    auto backup = TimedBackupPathFor(database, kNow);
    EXPECT_EQ(Named(Summary(result), (dir.path() / "profile").string(), "<profile>"),
              "refused: <profile>/places.sqlite 2 rows written refer to rows not there; the "
              "database was put back from " +
                  Named(backup, (dir.path() / "profile").string(), "<profile>"));
    EXPECT_EQ(ReadBack(database), before);
    EXPECT_EQ(ReadBack(backup), before);
}

// An earlier backup made in the same second is kept beside the new one.
TEST(FirefoxPlacesWriter, TheBackupHoldsTheProfileAsItWasAndIsNamedInTheResult) {
    test::TempDir dir;
    auto database = ProfileWith(dir, "firefox-86-folders-tags-keywords.sqlite");
    auto before = ReadBack(database);
    test::WriteFile(TimedBackupPathFor(database, kNow), "older");
    auto result = Write(database, {});
    ASSERT_TRUE(result.ok) << Summary(result);
    EXPECT_EQ(test::ReadFile(TimedBackupPathFor(database, kNow)), "older");
    EXPECT_EQ(result.sBackupPath, TimedBackupPathFor(database, kNow) + "-2");
    EXPECT_EQ(ReadBack(result.sBackupPath), before);
    EXPECT_NE(ReadBack(database), before);
}

} // namespace
} // namespace tellavin
