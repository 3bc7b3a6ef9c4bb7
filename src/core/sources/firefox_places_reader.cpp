#include "sources/firefox_places_reader.h"

#include "platform/file_io.h"
#include "platform/scratch_folder.h"
#include "sources/nested_lists.h"
#include "sources/sqlite_copy.h"
#include "sources/sqlite_database.h"

#include <algorithm>
#include <chrono>
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
    std::int64_t place = 0; // a link's row in moz_places
};

// What Firefox keeps of a place apart from its bookmarks: the keyword that
// opens it and the tags it is filed under, by the place's id.
struct PlaceDetails {
    std::unordered_map<std::int64_t, std::string> keywords;
    std::unordered_map<std::int64_t, std::vector<std::string>> tags;
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
        "SELECT b.id, b.parent, b.type, b.title, p.url, b.guid, b.dateAdded, b.lastModified, b.fk "
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
             sqlite3_column_int64(raw, 7), sqlite3_column_int64(raw, 8)});
    }
    return step == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(db));
}

// The keyword of each place that has one (the first Firefox stored, when
// it holds several); none when the database keeps no keywords table.
std::unordered_map<std::int64_t, std::string> ReadKeywords(sqlite3* db) {
    std::unordered_map<std::int64_t, std::string> keywords;
    constexpr const char* kQuery = "SELECT place_id, keyword FROM moz_keywords ORDER BY id";
    sqlite3_stmt* raw = nullptr;
    int prepared = sqlite3_prepare_v2(db, kQuery, -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement(raw);
    if (prepared != SQLITE_OK) {
        return keywords;
    }
    while (sqlite3_step(raw) == SQLITE_ROW) {
        keywords.try_emplace(sqlite3_column_int64(raw, 0), ColumnText(raw, 1));
    }
    return keywords;
}

// The tags of each place: the tag folders below the tags root that hold a
// bookmark of the place, by name.
std::unordered_map<std::int64_t, std::vector<std::string>> TagsByPlace(const FolderItems& items,
                                                                       std::int64_t tagsRoot) {
    std::unordered_map<std::int64_t, std::vector<std::string>> tags;
    auto folders = items.find(tagsRoot);
    if (folders == items.end()) {
        return tags;
    }
    std::vector<const PlacesItem*> sorted;
    for (const auto& tag : folders->second) {
        sorted.push_back(&tag);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const PlacesItem* a, const PlacesItem* b) { return a->title < b->title; });
    for (const auto* tag : sorted) {
        auto tagged = items.find(tag->id);
        if (tag->type != kFolder || tag->title.empty() || tagged == items.end()) {
            continue;
        }
        for (const auto& item : tagged->second) {
            if (item.type == kLink) {
                tags[item.place].push_back(tag->title);
            }
        }
    }
    return tags;
}

// Pushes a folder's items, and every folder below them, in Firefox's order.
void PushFolderItems(const FolderItems& items, const PlaceDetails& details, std::int64_t folder,
                     BookmarkSink& sink) {
    static const std::vector<PlacesItem> kNone;
    auto itemsOf = [&](std::int64_t id) -> const std::vector<PlacesItem>& {
        auto found = items.find(id);
        return found == items.end() ? kNone : found->second;
    };
    WalkNestedLists(
        itemsOf(folder), sink, [&](const PlacesItem& item) -> const std::vector<PlacesItem>* {
            if (item.type == kFolder) {
                sink.BeginFolder(item.title);
                sink.SetFolderDates(item.dateAdded / 1'000'000, item.lastModified / 1'000'000);
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
                if (auto keyword = details.keywords.find(item.place);
                    keyword != details.keywords.end()) {
                    sink.SetLinkKeyword(keyword->second);
                }
                if (auto tags = details.tags.find(item.place); tags != details.tags.end()) {
                    sink.SetLinkTags(tags->second);
                }
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

// Pushes the tree of Firefox's HTML export from the grouped rows, with the
// places' keywords and the tags found below the tags root.
std::string PushPlacesTree(const FolderItems& items, PlaceDetails details, BookmarkSink& sink) {
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
    if (auto tags = RootId(items, *top, "tags________")) {
        details.tags = TagsByPlace(items, *tags);
    }
    sink.SetRootText(kFirefoxRootText);
    PushFolderItems(items, details, *menu, sink);
    for (const auto& root : folderRoots) {
        if (root.id && items.contains(*root.id)) {
            sink.BeginFolder(root.title);
            if (root.guid == "toolbar_____") {
                sink.MarkToolbarFolder();
            }
            PushFolderItems(items, details, *root.id, sink);
            sink.EndFolder();
        }
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
    return PushPlacesTree(items, {ReadKeywords(copy.db.get()), {}}, sink);
}

} // namespace tellavin
