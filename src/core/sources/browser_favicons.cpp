#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/favicon_store.h"
#include "sources/sqlite_copy.h"

#include <memory>

namespace tellavin {

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Orders a query's icons by their width: the smallest of at least 16
// pixels first, then the widest of those narrower.
#define TELLAVIN_NEAREST_16 " ORDER BY width < 16, CASE WHEN width >= 16 THEN width ELSE -width END"

// The address of the root icon of a page's site: its scheme, host and
// port followed by "/favicon.ico"; empty for an address without a host.
std::string RootIconAddress(std::string_view url) {
    auto start = url.find("://");
    if (start == std::string_view::npos) {
        return {};
    }
    auto end = url.find_first_of("/?#", start + 3);
    return std::string(url.substr(0, end)) + "/favicon.ico";
}

// One browser's icon database, read from a copy through one query that
// finds a page's icon by its address and, for Firefox, one that finds its
// site's root icon (by RootIconAddress). Each query gives the icon's
// address and image.
class SqliteFavicons final : public FaviconStore {
public:
    LinkIcon IconOf(std::string_view url) override {
        address_.clear();
        image_.clear();
        if (!Find(byPage_.get(), url) && rootIcon_) {
            if (auto root = RootIconAddress(url); !root.empty()) {
                Find(rootIcon_.get(), root);
            }
        }
        return {image_, address_};
    }

    // Opens the copy of the database at path and prepares the queries,
    // after running setup, when given, on the copy; nothing when any of it
    // fails.
    static std::unique_ptr<FaviconStore> Open(const std::string& path, const char* setup,
                                              const char* byPage, const char* rootIcon) {
        if (!FileExists(path)) {
            return nullptr;
        }
        auto store = std::make_unique<SqliteFavicons>();
        if (!store->scratch_.Failure().empty()) {
            return nullptr;
        }
        auto copy = sqlite::OpenConsistentCopy(path, store->scratch_, "favicons", [] {});
        if (!copy.db || (setup != nullptr && !sqlite::Execute(copy.db.get(), setup).empty())) {
            return nullptr;
        }
        store->db_ = std::move(copy.db);
        store->byPage_ = store->Prepare(byPage);
        store->rootIcon_ = rootIcon != nullptr ? store->Prepare(rootIcon) : nullptr;
        return store->byPage_ ? std::move(store) : nullptr;
    }

private:
    Statement Prepare(const char* query) {
        sqlite3_stmt* raw = nullptr;
        sqlite3_prepare_v2(db_.get(), query, -1, &raw, nullptr);
        return Statement(raw);
    }

    bool Find(sqlite3_stmt* query, std::string_view url) {
        sqlite3_reset(query);
        sqlite3_bind_text(query, 1, url.data(), static_cast<int>(url.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(query) != SQLITE_ROW) {
            return false;
        }
        const auto* address = sqlite3_column_text(query, 0);
        address_ = address == nullptr ? "" : reinterpret_cast<const char*>(address);
        const auto* image = static_cast<const char*>(sqlite3_column_blob(query, 1));
        image_.assign(image == nullptr ? "" : image,
                      static_cast<std::size_t>(sqlite3_column_bytes(query, 1)));
        return true;
    }

    ScratchFolder scratch_; // outlives the copy in it
    sqlite::Database db_;
    Statement byPage_;
    Statement rootIcon_;
    std::string address_;
    std::string image_;
};

// The database beside a store's file.
std::string Beside(const std::string& file, const char* name) {
    return Utf8FromPath(PathFromUtf8(file).parent_path() / name);
}

} // namespace

std::unique_ptr<FaviconStore> OpenFirefoxFavicons(const std::string& placesPath) {
    // The copy is the reader's own: the indexes make each page's look-up
    // quick (Firefox finds pages by a hash of its own).
    constexpr const char* kSetup = "CREATE INDEX tellavin_page_url ON moz_pages_w_icons (page_url);"
                                   "CREATE INDEX tellavin_icon_url ON moz_icons (icon_url);";
    constexpr const char* kByPage =
        "SELECT i.icon_url, i.data, i.width AS width FROM moz_pages_w_icons p "
        "JOIN moz_icons_to_pages ip ON ip.page_id = p.id JOIN moz_icons i ON i.id = ip.icon_id "
        "WHERE p.page_url = ?1" TELLAVIN_NEAREST_16 " LIMIT 1";
    constexpr const char* kRootIcon = "SELECT icon_url, data, width FROM moz_icons WHERE root = 1 "
                                      "AND icon_url = ?1" TELLAVIN_NEAREST_16 " LIMIT 1";
    return SqliteFavicons::Open(Beside(placesPath, "favicons.sqlite"), kSetup, kByPage, kRootIcon);
}

std::unique_ptr<FaviconStore> OpenChromiumFavicons(const std::string& bookmarksPath) {
    constexpr const char* kByPage =
        "SELECT f.url, b.image_data, b.width AS width FROM icon_mapping m "
        "JOIN favicons f ON f.id = m.icon_id JOIN favicon_bitmaps b ON b.icon_id = f.id "
        "WHERE m.page_url = ?1" TELLAVIN_NEAREST_16 " LIMIT 1";
    // Chromium's own index finds pages by their address.
    return SqliteFavicons::Open(Beside(bookmarksPath, "Favicons"), nullptr, kByPage, nullptr);
}

} // namespace tellavin
