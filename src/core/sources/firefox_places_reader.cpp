#include "sources/firefox_places_reader.h"

#include "platform/file_io.h"
#include "platform/scratch_folder.h"
#include "sources/nested_lists.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tellavin {

namespace {

constexpr const char* kNotPlaces = "not a Firefox bookmark database";

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

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// Every bookmark row of the database grouped by folder; nothing when the
// database has no bookmark table of Firefox's layout.
std::optional<FolderItems> ReadFolderItems(sqlite3* db) {
    constexpr const char* kQuery =
        "SELECT b.id, b.parent, b.type, b.title, p.url, b.guid, b.dateAdded, b.lastModified "
        "FROM moz_bookmarks b "
        "LEFT JOIN moz_places p ON p.id = b.fk ORDER BY b.parent, b.position, b.id";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, kQuery, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return std::nullopt;
    }
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> statement(raw);
    FolderItems items;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        items[sqlite3_column_int64(raw, 1)].push_back(
            {sqlite3_column_int64(raw, 0), sqlite3_column_int64(raw, 2), ColumnText(raw, 3),
             ColumnText(raw, 4), ColumnText(raw, 5), sqlite3_column_int64(raw, 6),
             sqlite3_column_int64(raw, 7)});
    }
    return step == SQLITE_DONE ? std::optional(std::move(items)) : std::nullopt;
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
            } else if (item.type == kLink && std::string_view(item.url).starts_with("place:")) {
                // A saved search, not an address another browser can open.
                sink.NoteLoss(LossKind::AddressUnusable, item.title);
            } else if (item.type == kLink && !item.url.empty()) {
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

// Pushes the tree of Firefox's HTML export from the grouped rows.
std::string PushPlacesTree(const FolderItems& items, BookmarkSink& sink) {
    // The places root is the one folder whose parent is 0.
    auto top = RootId(items, 0, "root________");
    auto menu = top ? RootId(items, *top, "menu________") : std::nullopt;
    if (!menu) {
        return kNotPlaces;
    }
    sink.SetRootText(kFirefoxRootText);
    PushFolderItems(items, *menu, sink);
    constexpr std::pair<std::string_view, const char*> kFolderRoots[] = {
        {"toolbar_____", "Bookmarks Toolbar"},
        {"unfiled_____", "Other Bookmarks"},
        {"mobile______", "Mobile Bookmarks"},
    };
    for (const auto& [guid, title] : kFolderRoots) {
        auto root = RootId(items, *top, guid);
        if (root && items.contains(*root)) {
            sink.BeginFolder(title);
            if (guid == "toolbar_____") {
                sink.MarkToolbarFolder();
            }
            PushFolderItems(items, *root, sink);
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
    ScratchFolder scratch;
    auto copy = scratch.CopyIn(path, "places.sqlite");
    if (!copy) {
        return ReasonCannotRead(path, false);
    }
    // The log holds what Firefox wrote since its last checkpoint; a missing
    // log is no fault.
    scratch.CopyIn(path + "-wal", "places.sqlite-wal");
    sqlite3* raw = nullptr;
    int opened = sqlite3_open_v2(copy->c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
    if (opened != SQLITE_OK) {
        return kNotPlaces;
    }
    auto items = ReadFolderItems(raw);
    if (!items) {
        return kNotPlaces;
    }
    return PushPlacesTree(*items, sink);
}

} // namespace tellavin
