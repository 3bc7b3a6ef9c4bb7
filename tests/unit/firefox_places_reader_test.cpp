// Firefox's places.sqlite read while another program uses it: one
// committed state whatever the other connection does during the copy, a
// private copy gone afterwards, a damaged table refused, and every failure
// with what happened.
#include "model/file_tree_builder.h"
#include "sources/firefox_places_reader.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sqlite3.h>
#include <sstream>
#include <stdexcept>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return (fs::path(TELLAVIN_TEST_DATA) / "browsers" / name).string();
}

// Copies a fixture and the companions given by their suffixes into dir as
// places.sqlite; its path.
std::string PlaceFixture(const test::TempDir& dir, const std::string& fixture,
                         std::initializer_list<const char*> companions = {}) {
    auto database = dir / "places.sqlite";
    fs::copy_file(Fixture(fixture), database);
    for (const char* suffix : companions) {
        fs::copy_file(Fixture(fixture) + suffix, database + suffix);
    }
    return database;
}

// What reading the database gives: the root's text, the tree in its own
// order and the loss lines; or the reason it was refused with whatever was
// pushed before.
std::string Read(
    const std::string& path, const std::function<void()>& duringCopy = [] {}) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    auto why = detail::LoadFirefoxPlaces(path, builder, duringCopy);
    builder.Finish();
    auto text = (why.empty() ? tree.Node(0).Text : "refused: " + why + "; pushed") + ": " +
                test::OrderedTreeText(tree);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

// Another program's connection to the database.
class OtherConnection {
public:
    explicit OtherConnection(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~OtherConnection() { sqlite3_close(db_); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    void Run(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error != nullptr ? error : "");
        }
        sqlite3_free(error);
    }
    // Adds a link at the end of the Bookmarks Menu.
    void AddLink(const std::string& title) {
        Run("INSERT INTO moz_places (url, guid) VALUES ('http://example.com/during', "
            "hex(randomblob(6)));"
            "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, "
            "lastModified, guid) VALUES (1, last_insert_rowid(), 2, 100, '" +
            title + "', 1700000000000000, 1700000000000000, hex(randomblob(6)))");
    }
    // Merges the log into the database and empties it, as far as readers
    // let it.
    void Checkpoint() {
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    }

private:
    sqlite3* db_ = nullptr;
};

constexpr const char* kUnmergedTree =
    "Bookmarks Menu: root[ Merged link=http://example.com/merged{1600000101/1600086501} "
    "Only in the log=http://example.com/log{1600000102/1600086502} Bookmarks Toolbar*[ "
    "Log folder[ Log child=http://example.com/log/child{1600000104/1600086504} ] ] ]";

struct TornCase {
    const char* situation;
    bool exclusive;       // the other connection holds the database as a running Firefox
    int writingPauses;    // how many pauses in the copying it writes a link in
    bool checkpoints;     // whether it then merges the log into the database
    const char* expected; // the state when the copy began or when it ended
};

TEST(FirefoxPlaces, ACheckpointDuringTheCopyLeavesNoTornRead) {
    const TornCase cases[] = {
        {"readers allowed: the state the copy began with", false, 1, true, kUnmergedTree},
        {"held exclusively: copied again after the change", true, 1, true,
         "Bookmarks Menu: root[ Merged link=http://example.com/merged{1600000101/1600086501} "
         "Only in the log=http://example.com/log{1600000102/1600086502} "
         "Written during the copy=http://example.com/during{1700000000/1700000000} "
         "Bookmarks Toolbar*[ Log folder[ "
         "Log child=http://example.com/log/child{1600000104/1600086504} ] ] ]"},
        {"held exclusively and written during every copy", true, 100, false,
         "refused: the database is being written by another program; pushed: root[ ]"},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto database = PlaceFixture(dir, "unmerged-wal.sqlite", {"-wal"});
        OtherConnection other(database);
        if (row.exclusive) {
            other.Run("PRAGMA locking_mode=EXCLUSIVE");
        }
        other.Run("SELECT count(*) FROM moz_bookmarks");
        int writes = row.writingPauses;
        auto write = [&] {
            if (writes-- > 0) {
                other.AddLink("Written during the copy");
                if (row.checkpoints) {
                    other.Checkpoint();
                }
            }
        };
        EXPECT_EQ(Read(database, write), row.expected) << row.situation;
    }
}

TEST(FirefoxPlaces, AnOpenWriteTransactionIsNotRead) {
    // The same bookmarks as committed, without the history.
    auto committed = Read(Fixture("nested-folders-tags-queries.sqlite"));
    for (bool liveWriter : {false, true}) {
        test::TempDir dir;
        auto database = PlaceFixture(dir, "held-write-transaction.sqlite", {"-journal"});
        std::optional<OtherConnection> other;
        if (liveWriter) {
            // Opening rolls the fixture's transaction back; the connection
            // then holds one of its own, written into the file as well.
            other.emplace(database);
            other->Run("PRAGMA cache_size=10; BEGIN; "
                       "UPDATE moz_places SET url = 'http://uncommitted.example/' || id");
        }
        EXPECT_EQ(Read(database), committed) << (liveWriter ? "live writer" : "left on disk");
    }
}

TEST(FirefoxPlaces, ParentCycleIsReportedAsDamaged) {
    test::TempDir dir;
    auto database = PlaceFixture(dir, "parent-cycle.sqlite");
    EXPECT_EQ(Read(database), "refused: damaged database: a folder lies inside itself; pushed: "
                              "root[ ]");
}

TEST(FirefoxPlaces, LinksWithoutPlaceOrAddressAreCountedAsSkipped) {
    EXPECT_EQ(Read(Fixture("links-without-address.sqlite")),
              "Bookmarks Menu: root[ Kept=http://example.com/kept{1600000101/1600086501} ]\n"
              "Links without a usable address skipped: 4 (Place gone, No place, Null address, "
              "...)");
}

#ifndef _WIN32
// The temporary folder the program takes while the object lives (POSIX
// programs take TMPDIR).
class TemporaryFolderSetting {
public:
    explicit TemporaryFolderSetting(const std::string& folder) {
        if (const char* old = std::getenv("TMPDIR")) {
            old_ = old;
        }
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderSetting() {
        if (old_) {
            setenv("TMPDIR", old_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

private:
    std::optional<std::string> old_;
};

// The modes of everything below folder in octal, a folder's contents in
// brackets and each mode its files have once: "700[ 600 ]".
std::string Modes(const fs::path& folder) {
    auto octal = [](const fs::directory_entry& entry) {
        std::ostringstream text;
        text << std::oct << static_cast<unsigned>(entry.status().permissions() & fs::perms::all);
        return text.str();
    };
    std::string text;
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_directory()) {
            text += octal(entry) + "[ " + Modes(entry.path()) + "] ";
        } else {
            files.insert(octal(entry));
        }
    }
    for (const auto& mode : files) {
        text += mode + " ";
    }
    return text;
}

// Links throw, as a sink out of memory would.
class ThrowingSink final : public BookmarkSink {
public:
    void BeginFolder(std::string) override {}
    void AddLink(std::string, std::string) override { throw std::runtime_error("no room"); }
    void EndFolder() override {}
};

TEST(FirefoxPlaces, TheCopyIsTheUsersAloneAndGoneAfterReading) {
    struct Case {
        const char* situation;
        bool exclusive;
        bool throwing;
        const char* expected; // modes while copying, then what is left
    };
    const Case cases[] = {
        {"readers allowed", false, false, "700[ 600 ] | left: "},
        {"held exclusively", true, false, "700[ 600 ] | left: "},
        {"reading ends in an exception", false, true, "700[ 600 ] | left: "},
    };
    for (const auto& row : cases) {
        test::TempDir dir;
        auto database = PlaceFixture(dir, "unmerged-wal.sqlite", {"-wal"});
        OtherConnection other(database);
        if (row.exclusive) {
            other.Run("PRAGMA locking_mode=EXCLUSIVE");
        }
        other.Run("SELECT count(*) FROM moz_bookmarks");
        auto temporary = dir.path() / "temporary";
        fs::create_directory(temporary);
        TemporaryFolderSetting setting(temporary.string());
        std::string modes;
        auto look = [&] { modes = Modes(temporary); };
        try {
            ThrowingSink throwing;
            BookmarkTree tree;
            FileTreeBuilder builder(tree, StoreKind::Netscape);
            detail::LoadFirefoxPlaces(
                database, row.throwing ? static_cast<BookmarkSink&>(throwing) : builder, look);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(modes + "| left: " + Modes(temporary), row.expected) << row.situation;
    }
}

TEST(FirefoxPlaces, ASparseLogIsCopiedOnlyAsFarAsItsFrames) {
    if (!fs::exists("/proc/self/io")) {
        GTEST_SKIP() << "no /proc/self/io to count the bytes written";
    }
    auto written = [] {
        std::ifstream io("/proc/self/io");
        std::string key;
        std::uintmax_t bytes = 0;
        while (io >> key >> bytes && key != "wchar:") {
        }
        return bytes;
    };
    test::TempDir dir;
    auto database = PlaceFixture(dir, "unmerged-wal.sqlite", {"-wal"});
    // A log that once grew to 2 GiB and keeps its length, its end a hole.
    fs::resize_file(database + "-wal", std::uintmax_t{2} << 30);
    constexpr std::uintmax_t kLimit = 64 << 20;
    std::string tree;
    auto before = written();
    {
        // Would a copy of the whole log be tried, it stops here.
        test::FileSizeLimit limit(kLimit);
        tree = Read(database);
    }
    auto bytes = written() - before;
    EXPECT_EQ(tree + (bytes < (1 << 20) ? "" : "\nwrote " + std::to_string(bytes)), kUnmergedTree);
}

TEST(FirefoxPlaces, EachReadFailureSaysWhatHappened) {
    struct Case {
        const char* situation;
        std::function<std::string(const test::TempDir&)> read;
        std::string expected;
    };
    test::TempDir dir;
    auto nested = PlaceFixture(dir, "nested-folders-tags-queries.sqlite");
    test::WriteFile(dir.path() / "damaged.sqlite",
                    std::string("SQLite format 3\0", 16) + std::string(4080, '\x7f'));
    test::WriteFile(dir.path() / "a-file", "");
    fs::create_directory(dir.path() / "temporary");
    const Case cases[] = {
        {"the temporary folder is a file",
         [&](const test::TempDir& dir) {
             TemporaryFolderSetting setting(dir / "a-file");
             return Read(nested);
         },
         "refused: cannot make a temporary folder: Not a directory; pushed: root[ ]"},
        {"the temporary folder is full",
         [&](const test::TempDir& dir) {
             TemporaryFolderSetting setting(dir / "temporary");
             test::FileSizeLimit limit(4096);
             return Read(nested);
         },
         "refused: cannot copy into the temporary folder " + (dir / "temporary") +
             ": File too large; pushed: root[ ]"},
        {"a damaged file", [&](const test::TempDir& dir) { return Read(dir / "damaged.sqlite"); },
         "refused: file is not a database; pushed: root[ ]"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(row.read(dir), row.expected) << row.situation;
    }
}
#endif

} // namespace
} // namespace tellavin
