#include "sources/firefox_places_reader.h"

#include "platform/file_io.h"
#include "platform/scratch_folder.h"
#include "sources/nested_lists.h"
#include "sources/sqlite_copy.h"
#include "sources/sqlite_database.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tellavin {

namespace {

constexpr const char* kNotPlaces = "not a Firefox bookmark database";
constexpr const char* kInsideItself = "damaged database: a folder lies inside itself";

enum ItemType : std::int64_t { kLink = 1, kFolder = 2, kSeparator = 3 };

struct PlacesItem {
    std::int64_t id = 0;
    std::int64_t type = 0;
    std::string title;
    std::string url;
    std::string guid;
    std::int64_t dateAdded = 0; // microseconds since 1970, as Firefox stores them
    std::int64_t lastModified = 0;
};

// The items of each folder by its id, in Firefox's order.
using FolderItems = std::unordered_map<std::int64_t, std::vector<PlacesItem>>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// Every bookmark row of the database grouped by folder into items; empty,
// or why not: "not a Firefox bookmark database" when the database has no
// bookmark table of Firefox's layout, else SQLite's reason.
std::string ReadFolderItems(sqlite3* db, FolderItems& items) {
    constexpr const char* kQuery =
        "SELECT b.id, b.parent, b.type, b.title, p.url, b.guid, b.dateAdded, b.lastModified "
        "FROM moz_bookmarks b "
        "LEFT JOIN moz_places p ON p.id = b.fk ORDER BY b.parent, b.position, b.id";
    sqlite3_stmt* raw = nullptr;
    int prepared = sqlite3_prepare_v2(db, kQuery, -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement(raw);
    if (prepared != SQLITE_OK) {
        // A missing table or column; anything else is SQLite's to tell.
        return prepared == SQLITE_ERROR ? kNotPlaces : sqlite3_errmsg(db);
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        items[sqlite3_column_int64(raw, 1)].push_back(
            {sqlite3_column_int64(raw, 0), sqlite3_column_int64(raw, 2), ColumnText(raw, 3),
             ColumnText(raw, 4), ColumnText(raw, 5), sqlite3_column_int64(raw, 6),
             sqlite3_column_int64(raw, 7)});
    }
    return step == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(db));
}

// Pushes a folder's items, and every folder below them, in Firefox's order.
void PushFolderItems(const FolderItems& items, std::int64_t folder, BookmarkSink& sink) {
    static const std::vector<PlacesItem> kNone;
    auto itemsOf = [&](std::int64_t id) -> const std::vector<PlacesItem>& {
        auto found = items.find(id);
        return found == items.end() ? kNone : found->second;
    };
    WalkNestedLists(
        itemsOf(folder), sink, [&](const PlacesItem& item) -> const std::vector<PlacesItem>* {
            if (item.type == kFolder) {
                sink.BeginFolder(item.title);
                return &itemsOf(item.id);
            }
            if (item.type == kSeparator) {
                sink.AddSeparator();
            } else if (item.type == kLink &&
                       (item.url.empty() || std::string_view(item.url).starts_with("place:"))) {
                // A saved search is no address another browser can open; a
                // link whose place row is gone or holds no address has none.
                sink.NoteLoss(LossKind::AddressUnusable, item.title);
            } else if (item.type == kLink) {
                sink.AddLink(item.title, item.url);
                // Firefox's own export writes the dates in whole seconds.
                sink.SetLinkDates(item.dateAdded / 1'000'000, item.lastModified / 1'000'000);
            }
            return nullptr;
        });
}

// The id of the root folder with the given guid among the top folders.
std::optional<std::int64_t> RootId(const FolderItems& items, std::int64_t top,
                                   std::string_view guid) {
    auto found = items.find(top);
    if (found != items.end()) {
        for (const auto& item : found->second) {
            if (item.guid == guid) {
                return item.id;
            }
        }
    }
    return std::nullopt;
}

// Tags are folders below the tags root; a tag given to a link is not
// carried over, so each is noted.
void NoteTags(const FolderItems& items, std::int64_t tagsRoot, BookmarkSink& sink) {
    auto tags = items.find(tagsRoot);
    if (tags == items.end()) {
        return;
    }
    for (const auto& tag : tags->second) {
        auto tagged = items.find(tag.id);
        if (tagged != items.end()) {
            for (std::size_t n = 0; n < tagged->second.size(); ++n) {
                sink.NoteLoss(LossKind::TagsDropped, tag.title);
            }
        }
    }
}

// Whether a folder lies inside itself, which a damaged table allows (no key
// of it forbids a parent cycle): a walk down from the roots below the
// places root meets every folder below them once, unless one is its own
// ancestor or the places root's.
bool HasParentCycle(const FolderItems& items, std::int64_t top,
                    const std::vector<std::int64_t>& roots) {
    std::unordered_set<std::int64_t> met(roots.begin(), roots.end());
    met.insert(top);
    std::vector<std::int64_t> open(roots.begin(), roots.end());
    while (!open.empty()) {
        auto found = items.find(open.back());
        open.pop_back();
        if (found == items.end()) {
            continue;
        }
        for (const auto& item : found->second) {
            if (item.type == kFolder) {
                if (!met.insert(item.id).second) {
                    return true;
                }
                open.push_back(item.id);
            }
        }
    }
    return false;
}

// Pushes the tree of Firefox's HTML export from the grouped rows.
std::string PushPlacesTree(const FolderItems& items, BookmarkSink& sink) {
    // The places root is the one folder whose parent is 0.
    auto top = RootId(items, 0, "root________");
    auto menu = top ? RootId(items, *top, "menu________") : std::nullopt;
    if (!menu) {
        return kNotPlaces;
    }
    struct FolderRoot {
        std::string_view guid;
        const char* title;
        std::optional<std::int64_t> id;
    };
    FolderRoot folderRoots[] = {
        {"toolbar_____", "Bookmarks Toolbar", std::nullopt},
        {"unfiled_____", "Other Bookmarks", std::nullopt},
        {"mobile______", "Mobile Bookmarks", std::nullopt},
    };
    std::vector<std::int64_t> roots{*menu};
    for (auto& root : folderRoots) {
        root.id = RootId(items, *top, root.guid);
        if (root.id) {
            roots.push_back(*root.id);
        }
    }
    if (HasParentCycle(items, *top, roots)) {
        return kInsideItself;
    }
    sink.SetRootText(kFirefoxRootText);
    PushFolderItems(items, *menu, sink);
    for (const auto& root : folderRoots) {
        if (root.id && items.contains(*root.id)) {
            sink.BeginFolder(root.title);
            if (root.guid == "toolbar_____") {
                sink.MarkToolbarFolder();
            }
            PushFolderItems(items, *root.id, sink);
            sink.EndFolder();
        }
    }
    if (auto tags = RootId(items, *top, "tags________")) {
        NoteTags(items, *tags, sink);
    }
    return {};
}

} // namespace

std::string LoadFirefoxPlaces(const std::string& path, BookmarkSink& sink) {
    return detail::LoadFirefoxPlaces(path, sink, [] {});
}

std::string detail::LoadFirefoxPlaces(const std::string& path, BookmarkSink& sink,
                                      const std::function<void()>& duringCopy) {
    ScratchFolder scratch;
    if (!scratch.Failure().empty()) {
        return scratch.Failure();
    }
    // The copy is closed before the folder goes.
    auto copy = sqlite::OpenConsistentCopy(path, scratch, "places", duringCopy);
    if (!copy.db) {
        return copy.failure;
    }
    FolderItems items;
    if (auto failure = ReadFolderItems(copy.db.get(), items); !failure.empty()) {
        return failure;
    }
    return PushPlacesTree(items, sink);
}

} // namespace tellavin
