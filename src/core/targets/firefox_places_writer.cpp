#include "targets/firefox_places_writer.h"

#include "model/folder_walk.h"
#include "platform/file_io.h"
#include "platform/parent_lock.h"
#include "sources/sqlite_database.h"
#include "targets/backup_copy.h"
#include "targets/firefox_place_rows.h"
#include "targets/folder_links.h"
#include "targets/merge_plan.h"
#include "text/ascii_text.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tellavin {

namespace {

constexpr const char* kFirefox = "Firefox";
constexpr std::int64_t kMicroseconds = 1'000'000;

enum ItemType : std::int64_t { kLink = 1, kFolder = 2, kSeparator = 3 };

using sqlite::Database;
using sqlite::Execute;
using sqlite::Open;

// A prepared statement run again and again with new values. The first
// failure of any statement sharing failure is kept there; once it holds
// one, nothing more runs.
class Statement {
public:
    Statement(sqlite3* db, const char* sql, std::string& failure) : db_(db), failure_(failure) {
        if (failure_.empty() && sqlite3_prepare_v2(db, sql, -1, &raw_, nullptr) != SQLITE_OK) {
            failure_ = sqlite3_errmsg(db);
        }
    }
    ~Statement() { sqlite3_finalize(raw_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds the values in order: integers, texts, or nothing (NULL).
    template <typename... Values> Statement& Bind(const Values&... values) {
        if (raw_ != nullptr) {
            sqlite3_reset(raw_);
            int index = 0;
            (BindOne(++index, values), ...);
        }
        return *this;
    }

    // Runs the statement: true when it gave a row, whose columns can then
    // be read.
    bool Step() {
        if (!failure_.empty() || raw_ == nullptr) {
            return false;
        }
        int result = sqlite3_step(raw_);
        if (result != SQLITE_ROW && result != SQLITE_DONE) {
            failure_ = sqlite3_errmsg(db_);
        }
        return result == SQLITE_ROW;
    }

    std::int64_t Integer(int column) const { return sqlite3_column_int64(raw_, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(raw_, column);
        return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
    }

    // The single integer the statement gives, or fallback.
    std::int64_t Value(std::int64_t fallback = 0) { return Step() ? Integer(0) : fallback; }

private:
    void BindOne(int index, std::int64_t value) { sqlite3_bind_int64(raw_, index, value); }
    void BindOne(int index, int value) { sqlite3_bind_int64(raw_, index, value); }
    void BindOne(int index, std::string_view text) {
        sqlite3_bind_text(raw_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    void BindOne(int index, const std::string& text) { BindOne(index, std::string_view(text)); }
    void BindOne(int index, std::nullptr_t) { sqlite3_bind_null(raw_, index); }

    sqlite3* db_;
    std::string& failure_;
    sqlite3_stmt* raw_ = nullptr;
};

const char* RootGuid(BrowserRoot place) {
    switch (place) {
    case BrowserRoot::Bar:
        return "toolbar_____";
    case BrowserRoot::Menu:
        return "menu________";
    case BrowserRoot::Other:
        break;
    }
    return "unfiled_____";
}

// Whether an address has a scheme ("http:", "place:"), without which
// Firefox takes no address.
bool HasScheme(std::string_view url) {
    auto colon = url.find(':');
    if (colon == 0 || colon == std::string_view::npos) {
        return false;
    }
    for (std::size_t n = 0; n < colon; ++n) {
        char c = url[n];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (n == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return false;
        }
    }
    return true;
}

// The highest id of a table's rows, which the rows added next lie above.
std::int64_t HighestId(sqlite3* db, const char* table, std::string& failure) {
    auto sql = std::string("SELECT IFNULL(MAX(id), 0) FROM ") + table;
    return Statement(db, sql.c_str(), failure).Value();
}

// Why the database is not one to write into: empty when it is a places
// database of a tried layout whose receiving root is there and that SQLite
// finds whole.
std::string CheckDatabase(sqlite3* db, BrowserRoot place) {
    std::string failure;
    auto version = Statement(db, "PRAGMA user_version", failure).Value(-1);
    if (!failure.empty()) {
        return failure;
    }
    if (version < kOldestFirefoxSchema || version > kNewestFirefoxSchema) {
        return "the database's layout is version " + std::to_string(version) +
               "; this program writes versions " + std::to_string(kOldestFirefoxSchema) + " to " +
               std::to_string(kNewestFirefoxSchema) + " only";
    }
    Statement roots(db, "SELECT count(*) FROM moz_bookmarks WHERE guid IN ('root________', ?)",
                    failure);
    auto found = roots.Bind(std::string_view(RootGuid(place))).Value();
    if (!failure.empty()) {
        return failure;
    }
    if (found != 2) {
        return "not a Firefox bookmark database";
    }
    Statement check(db, "PRAGMA quick_check", failure);
    auto verdict = check.Step() ? check.Text(0) : failure;
    return verdict == "ok" ? "" : "damaged database: " + verdict;
}

// Copies the database, as the connection sees it, into a new file with
// SQLite's backup; empty, or why not. An existing file is not replaced.
std::string CopyDatabase(sqlite3* from, const std::string& to) {
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(to), error) || error) {
        return error ? error.message() : "the file exists already";
    }
    std::string failure;
    auto target = Open(to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, failure);
    if (!target) {
        return failure;
    }
    sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", from, "main");
    if (backup == nullptr) {
        return sqlite3_errmsg(target.get());
    }
    sqlite3_backup_step(backup, -1);
    if (sqlite3_backup_finish(backup) != SQLITE_OK) {
        return sqlite3_errmsg(target.get());
    }
    return {};
}

// Copies the backup over the database through SQLite, which writes it as
// one transaction; empty, or why not.
std::string PutBack(const std::string& backupFile, sqlite3* db) {
    std::string failure;
    auto backup = Open(backupFile, SQLITE_OPEN_READONLY, failure);
    if (!backup) {
        return failure;
    }
    sqlite3_backup* restore = sqlite3_backup_init(db, "main", backup.get(), "main");
    if (restore == nullptr) {
        return sqlite3_errmsg(db);
    }
    sqlite3_backup_step(restore, -1);
    if (sqlite3_backup_finish(restore) != SQLITE_OK) {
        return sqlite3_errmsg(db);
    }
    return {};
}

// The ids below which the database's rows lay before the write.
struct RowsBefore {
    std::int64_t bookmark = 0;
    std::int64_t place = 0;
};

// Why the rows written are not sound: SQLite's integrity check of the whole
// database, then whether every new bookmark lies in a folder and every new
// link's place and every new place's origin are there, and whether each new
// place counts the bookmarks and keywords that refer to it.
std::string CheckWritten(sqlite3* db, const RowsBefore& before) {
    std::string failure;
    Statement integrity(db, "PRAGMA integrity_check", failure);
    auto verdict = integrity.Step() ? integrity.Text(0) : failure;
    if (verdict != "ok") {
        return "the integrity check failed: " + verdict;
    }
    Statement orphans(
        db,
        "SELECT (SELECT count(*) FROM moz_bookmarks b WHERE b.id > ?1 AND ("
        "  NOT EXISTS (SELECT 1 FROM moz_bookmarks f WHERE f.id = b.parent AND f.type = 2) OR"
        "  (b.type = 1 AND NOT EXISTS (SELECT 1 FROM moz_places p WHERE p.id = b.fk)))) + "
        "(SELECT count(*) FROM moz_places p WHERE p.id > ?2 AND ("
        "  NOT EXISTS (SELECT 1 FROM moz_origins o WHERE o.id = p.origin_id) OR"
        "  p.foreign_count <> (SELECT count(*) FROM moz_bookmarks b WHERE b.fk = p.id) +"
        "    (SELECT count(*) FROM moz_keywords k WHERE k.place_id = p.id)))",
        failure);
    auto broken = orphans.Bind(before.bookmark, before.place).Value(-1);
    if (!failure.empty()) {
        return failure;
    }
    return broken == 0 ? "" : std::to_string(broken) + " rows written refer to rows not there";
}

// Adds the walked folders, links and separators as Firefox's rows.
class PlacesWriter final : public FolderVisitor {
public:
    PlacesWriter(BookmarkTree& tree, const WriteOptions& options, sqlite3* db, std::time_t now,
                 ExportResult& result, std::string& failure)
        : tree_(tree), options_(options), db_(db),
          now_(static_cast<std::int64_t>(now) * kMicroseconds), result_(result), failure_(failure),
          order_(OrderToWalk(tree, options.keepOrder)),
          nextPosition_(db,
                        "SELECT IFNULL(MAX(position) + 1, 0) FROM moz_bookmarks WHERE parent = ?",
                        failure),
          insertItem_(db,
                      "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded,"
                      " lastModified, guid, syncStatus, syncChangeCounter)"
                      " VALUES (?, ?, ?, ?, NULLIF(?, ''), ?, ?, ?, 1, 1)",
                      failure),
          findPlace_(db, "SELECT id FROM moz_places WHERE url_hash = ? AND url = ?", failure),
          // What Firefox's triggers do when a bookmark comes to a place that
          // is there: a query is hidden and keeps its frecency, any other
          // address is shown and has its frecency computed anew.
          countBookmark_(db,
                         "UPDATE moz_places SET"
                         " frecency = CASE WHEN frecency = -1 THEN ?1 ELSE frecency END,"
                         " foreign_count = foreign_count + 1, hidden = ?2,"
                         " recalc_frecency = NOT ?2, recalc_alt_frecency = NOT ?2 WHERE id = ?3",
                         failure),
          insertOrigin_(db,
                        "INSERT OR IGNORE INTO moz_origins"
                        " (prefix, host, frecency, recalc_frecency, recalc_alt_frecency)"
                        " VALUES (?, ?, ?, 1, 1)",
                        failure),
          findOrigin_(db, "SELECT id FROM moz_origins WHERE prefix = ? AND host = ?", failure),
          insertPlace_(db,
                       "INSERT INTO moz_places (url, url_hash, rev_host, hidden, frecency, guid,"
                       " foreign_count, recalc_frecency, recalc_alt_frecency, origin_id)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, 1, NOT ?4, NOT ?4, ?7)",
                       failure),
          lastId_(db, "SELECT IFNULL(MAX(id), 0) FROM moz_bookmarks", failure),
          findFolder_(db,
                      "SELECT id FROM moz_bookmarks WHERE parent = ? AND type = 2 AND title = ?"
                      " AND id <= ? ORDER BY position LIMIT 1",
                      failure),
          folderLinks_(db,
                       "SELECT p.url FROM moz_bookmarks b JOIN moz_places p ON p.id = b.fk"
                       " WHERE b.parent = ? AND b.type = 1 AND b.id <= ?",
                       failure),
          touchFolder_(db,
                       "WITH RECURSIVE above(id) AS (SELECT ?1 UNION ALL"
                       " SELECT b.parent FROM moz_bookmarks b JOIN above ON b.id = above.id"
                       " WHERE b.parent > 0)"
                       " UPDATE moz_bookmarks SET lastModified = ?2,"
                       " syncChangeCounter = syncChangeCounter + (id = ?1)"
                       " WHERE id IN above",
                       failure),
          tagsRoot_(
              Statement(db, "SELECT id FROM moz_bookmarks WHERE guid = 'tags________'", failure)
                  .Value()),
          findTag_(db,
                   "SELECT id FROM moz_bookmarks WHERE parent = ? AND type = 2 AND title = ?"
                   " ORDER BY id LIMIT 1",
                   failure),
          tagged_(db, "SELECT count(*) FROM moz_bookmarks WHERE parent = ? AND fk = ?", failure),
          keywordOf_(db, "SELECT place_id FROM moz_keywords WHERE keyword = ?", failure),
          placeKeyword_(db, "SELECT count(*) FROM moz_keywords WHERE place_id = ?", failure),
          insertKeyword_(db,
                         "INSERT INTO moz_keywords (keyword, place_id, post_data)"
                         " VALUES (?, ?, NULL)",
                         failure),
          countKeyword_(db, "UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE id = ?",
                        failure) {}

    WalkOrder Order() const { return order_; }

    // Where the export goes: the root, or a new folder in it (the one of
    // that name there, unless duplicates are kept).
    void Start(std::int64_t root) {
        root_ = root;
        lastBefore_ = lastId_.Value();
        parents_.push_back({root, true, std::nullopt});
        if (options_.newFolder) {
            if (OpenFolder(*options_.newFolder)) {
                result_.FolderJoined(*options_.newFolder);
            }
            auto receiver = parents_.back();
            parents_.pop_back();
            parents_.back() = std::move(receiver);
        }
    }

    // The root changed as Firefox marks a folder it added to: its counter
    // raised by one and its and its ancestors' change time set, once, when
    // anything went into it.
    void Finish() {
        if (addedToRoot_) {
            touchFolder_.Bind(root_, now_).Step();
        }
    }

    void Enter(std::int32_t folder, bool isStart) override {
        const auto& record = tree_.FolderTable.at(folder);
        if (!isStart && OpenFolder(tree_.Node(folder).Text, &record)) {
            result_.FolderJoined(FolderInReport(tree_, folder));
        } else if (!isStart) {
            ++result_.nFoldersWritten;
            // Firefox keeps no descriptions.
            if (!record.sDescription.empty()) {
                result_.losses.Note(LossKind::DescriptionDropped, FolderInReport(tree_, folder));
            }
        }
        if (order_ == WalkOrder::Display && options_.links == LinksPlacement::BeforeFolders) {
            AddLinks(folder);
        }
    }

    void Leave(std::int32_t folder, bool) override {
        if (order_ == WalkOrder::Display && options_.links == LinksPlacement::AfterFolders) {
            AddLinks(folder);
        }
        parents_.pop_back();
    }

    void Row(std::int32_t, const EntryRecord& row) override {
        if (row.IsSeparator()) {
            AddItem(kSeparator, parents_.back().id, {}, now_, now_);
        } else if (options_.links != LinksPlacement::None) {
            AddLink(row);
        }
    }

private:
    // A folder being filled; the export joined it when it was there.
    struct OpenFolderRow {
        std::int64_t id;
        bool there;
        std::optional<std::unordered_set<std::string>> addresses; // its links', once asked
    };

    // Opens the folder of that name in the innermost open one: the one
    // that was there before the export, unless duplicates are kept, or a
    // new one, with the record's dates where it has them. True when it was
    // there.
    bool OpenFolder(const std::string& name, const FolderRecord* record = nullptr) {
        const auto& parent = parents_.back();
        if (!options_.keepDuplicates && parent.there &&
            findFolder_.Bind(parent.id, name, lastBefore_).Step()) {
            parents_.push_back({findFolder_.Integer(0), true, std::nullopt});
            return true;
        }
        auto [added, changed] =
            record != nullptr ? Times(record->nCreated, record->nChanged) : std::pair(now_, now_);
        parents_.push_back(
            {AddItem(kFolder, parent.id, name, added, changed), false, std::nullopt});
        return false;
    }

    // Firefox's times of an item with these dates: the export's time for a
    // creation not known, and a change no earlier than the creation.
    std::pair<std::int64_t, std::int64_t> Times(std::int64_t created, std::int64_t changed) const {
        std::int64_t added = created != 0 ? created * kMicroseconds : now_;
        return {added, std::max(added, changed * kMicroseconds)};
    }

    // A link of the innermost open folder, when that was there, whose
    // address (NormalizedAddress) a link it held before holds.
    bool AlreadyThere(std::string_view url) {
        auto& folder = parents_.back();
        if (options_.keepDuplicates || !folder.there) {
            return false;
        }
        if (!folder.addresses) {
            folder.addresses.emplace();
            for (folderLinks_.Bind(folder.id, lastBefore_); folderLinks_.Step();) {
                folder.addresses->insert(NormalizedAddress(folderLinks_.Text(0)));
            }
        }
        return folder.addresses->contains(NormalizedAddress(url));
    }

    void AddLinks(std::int32_t folder) {
        for (auto row : GetFolderLinkRows(tree_, folder, options_.exportAll)) {
            AddLink(tree_.EntryTable[static_cast<std::size_t>(row)]);
        }
    }

    void AddLink(const EntryRecord& link) {
        if (!HasScheme(link.sURL)) {
            result_.losses.Note(LossKind::AddressUnusable, std::string(link.sName));
            return;
        }
        if (AlreadyThere(link.sURL)) {
            result_.LinkAlreadyThere(std::string(link.sName));
            return;
        }
        auto place = PlaceOf(link.sURL);
        auto [added, changed] = Times(link.nCreated, link.nChanged);
        AddItem(kLink, parents_.back().id, link.sName, added, changed, place);
        ++result_.nLinksWritten;
        const auto& details = tree_.DetailsOf(link);
        for (const auto& tag : SplitTags(details.tags)) {
            AddTag(link, tag, place);
        }
        if (!details.keyword.empty()) {
            AddKeyword(link, LowerAscii(details.keyword), place);
        }
        if (!details.description.empty()) {
            result_.losses.Note(LossKind::DescriptionDropped, std::string(link.sName));
        }
    }

    // Tags a place as Firefox does: a bookmark of the place in the tag's
    // folder below the tags root, the folder made when the tag is new. A
    // place tagged so already stays as it is.
    void AddTag(const EntryRecord& link, const std::string& tag, std::int64_t place) {
        if (tagsRoot_ == 0) {
            result_.losses.Note(LossKind::TagsDropped, std::string(link.sName));
            return;
        }
        auto folder = findTag_.Bind(tagsRoot_, tag).Value();
        if (folder == 0) {
            folder = AddItem(kFolder, tagsRoot_, tag, now_, now_);
        } else if (tagged_.Bind(folder, place).Value() > 0) {
            return;
        }
        countBookmark_.Bind(std::int64_t{1}, std::int64_t{0}, place).Step();
        AddItem(kLink, folder, {}, now_, now_, place);
    }

    // Gives the place the keyword, as Firefox keeps keywords (lower case,
    // one place per keyword, counted in the place's foreign_count). A
    // keyword another place has, or a place with a keyword of its own
    // already, keeps what is there, and the link's keyword is reported.
    void AddKeyword(const EntryRecord& link, const std::string& keyword, std::int64_t place) {
        if (keywordOf_.Bind(keyword).Step()) {
            if (keywordOf_.Integer(0) != place) {
                result_.losses.Note(LossKind::KeywordDropped, std::string(link.sName));
            }
            return;
        }
        if (placeKeyword_.Bind(place).Value() > 0) {
            result_.losses.Note(LossKind::KeywordDropped, std::string(link.sName));
            return;
        }
        insertKeyword_.Bind(keyword, place).Step();
        countKeyword_.Bind(place).Step();
    }

    // The id of the address's place, made when it is not there, counting
    // the bookmark about to refer to it.
    std::int64_t PlaceOf(std::string_view url) {
        auto hash = FirefoxUrlHash(url);
        bool query = url.starts_with("place:");
        std::int64_t frecency = query ? 0 : 1;
        if (findPlace_.Bind(hash, url).Step()) {
            auto place = findPlace_.Integer(0);
            countBookmark_.Bind(frecency, std::int64_t{query}, place).Step();
            return place;
        }
        // The origin starts with the frecency of a place not yet
        // bookmarked, as Firefox's trigger gives it.
        auto origin = FirefoxOriginOf(url);
        insertOrigin_.Bind(origin.prefix, origin.host, query ? 0 : -1).Step();
        auto originId = findOrigin_.Bind(origin.prefix, origin.host).Value();
        insertPlace_
            .Bind(url, hash, FirefoxReversedHost(url), std::int64_t{query}, frecency,
                  NewFirefoxGuid(), originId)
            .Step();
        return LastId();
    }

    std::int64_t AddItem(ItemType type, std::int64_t parent, std::string_view title,
                         std::int64_t added, std::int64_t changed, std::int64_t place = 0) {
        auto position = nextPosition_.Bind(parent).Value();
        // A link refers to its place; folders and separators to none.
        if (type == kLink) {
            insertItem_.Bind(std::int64_t{type}, place, parent, position, title, added, changed,
                             NewFirefoxGuid());
        } else {
            insertItem_.Bind(std::int64_t{type}, nullptr, parent, position, title, added, changed,
                             NewFirefoxGuid());
        }
        insertItem_.Step();
        addedToRoot_ = addedToRoot_ || parent == root_;
        return LastId();
    }

    std::int64_t LastId() const { return failure_.empty() ? sqlite3_last_insert_rowid(db_) : 0; }

    BookmarkTree& tree_;
    const WriteOptions& options_;
    sqlite3* db_;
    std::int64_t now_; // microseconds since 1970, as Firefox keeps times
    ExportResult& result_;
    std::string& failure_;
    WalkOrder order_;
    Statement nextPosition_;
    Statement insertItem_;
    Statement findPlace_;
    Statement countBookmark_;
    Statement insertOrigin_;
    Statement findOrigin_;
    Statement insertPlace_;
    Statement lastId_;
    Statement findFolder_;
    Statement folderLinks_;
    Statement touchFolder_;
    std::int64_t tagsRoot_;
    Statement findTag_;
    Statement tagged_;
    Statement keywordOf_;
    Statement placeKeyword_;
    Statement insertKeyword_;
    Statement countKeyword_;
    std::int64_t root_ = 0;
    std::int64_t lastBefore_ = 0; // the largest id before the export
    bool addedToRoot_ = false;
    std::vector<OpenFolderRow> parents_; // the folders open, innermost last
};

// A refusal or failure of the write, naming the file concerned.
ExportResult Failure(OutcomeKind kind, const std::string& path, std::string reason = {}) {
    Outcome outcome;
    outcome.kind = kind;
    outcome.path = path;
    outcome.reason = std::move(reason);
    outcome.subject = kFirefox;
    return ExportResult::Refused(std::move(outcome));
}

// The id of the root with the given GUID.
std::int64_t RootId(sqlite3* db, BrowserRoot place, std::string& failure) {
    return Statement(db, "SELECT id FROM moz_bookmarks WHERE guid = ?", failure)
        .Bind(std::string_view(RootGuid(place)))
        .Value();
}

// Adds the export's rows in the transaction the caller opened; empty, or
// SQLite's reason.
std::string AddRows(BookmarkTree& tree, sqlite3* db, const WriteOptions& options, std::time_t now,
                    ProgressSink& progress, ExportResult& result) {
    std::string failure;
    auto root = RootId(db, options.place, failure);
    PlacesWriter writer(tree, options, db, now, result, failure);
    writer.Start(root);
    WalkExportedFolders(tree, options.exportAll, writer, result, progress, {0, writer.Order()});
    writer.Finish();
    return failure;
}

} // namespace

ExportResult WriteFirefoxPlaces(BookmarkTree& tree, const std::string& placesFile,
                                const WriteOptions& options, std::time_t now,
                                ProgressSink& progress) {
    return detail::WriteFirefoxPlaces(tree, placesFile, options, now, progress,
                                      [](const std::string&) {});
}

ExportResult
detail::WriteFirefoxPlaces(BookmarkTree& tree, const std::string& placesFile,
                           const WriteOptions& options, std::time_t now, ProgressSink& progress,
                           const std::function<void(const std::string&)>& afterCommit) {
    // Held until the write ends, so that a Firefox started meanwhile finds
    // the profile in use.
    ProfileLock lock(FirefoxProfileLockFile(Utf8FromPath(PathFromUtf8(placesFile).parent_path())));
    if (!lock.HeldElsewhere()) {
        return Failure(OutcomeKind::BrowserStateUnknown, placesFile);
    }
    if (*lock.HeldElsewhere()) {
        return Failure(OutcomeKind::BrowserRunning, placesFile);
    }
    std::string failure;
    auto db = Open(placesFile, SQLITE_OPEN_READWRITE, failure);
    if (!db) {
        return Failure(OutcomeKind::WriteFailed, placesFile, failure);
    }
    failure = CheckDatabase(db.get(), options.place);
    // The backup and the rows added see one state: the transaction's first
    // read fixes what the backup copies, and the first row added fails
    // rather than write over anything another program committed since.
    if (failure.empty()) {
        failure = Execute(db.get(), "BEGIN; SELECT count(*) FROM moz_bookmarks");
    }
    if (!failure.empty()) {
        return Failure(OutcomeKind::WriteFailed, placesFile, failure);
    }
    auto backup = FreeTimedBackupPath(placesFile, now);
    if (auto why = CopyDatabase(db.get(), backup); !why.empty()) {
        Execute(db.get(), "ROLLBACK");
        return Failure(OutcomeKind::BackupFailed, backup, why);
    }
    RowsBefore before{HighestId(db.get(), "moz_bookmarks", failure),
                      HighestId(db.get(), "moz_places", failure)};
    ExportResult result;
    result.sPlaceName = FirefoxRootName(options.place);
    result.sNewFolder = options.newFolder.value_or("");
    result.sBackupPath = backup;
    if (failure.empty()) {
        failure = AddRows(tree, db.get(), options, now, progress, result);
    }
    const bool cancelled = failure.empty() && progress.Cancelled();
    if (failure.empty() && !cancelled) {
        failure = Execute(db.get(), "COMMIT");
    }
    if (!failure.empty() || cancelled) {
        // Nothing was changed, and the backup is of no use.
        Execute(db.get(), "ROLLBACK");
        std::error_code ignored;
        std::filesystem::remove(PathFromUtf8(backup), ignored);
        return cancelled ? ExportResult::Cancelled()
                         : Failure(OutcomeKind::WriteFailed, placesFile,
                                   failure + "; the database was left as it was");
    }
    afterCommit(placesFile);
    if (auto why = CheckWritten(db.get(), before); !why.empty()) {
        auto putBack = PutBack(backup, db.get());
        return Failure(OutcomeKind::WriteFailed, placesFile,
                       why + (putBack.empty() ? "; the database was put back from " + backup
                                              : "; the backup " + backup +
                                                    " could not be put back: " + putBack));
    }
    return result;
}

} // namespace tellavin
