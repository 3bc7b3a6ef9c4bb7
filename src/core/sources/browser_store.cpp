#include "sources/browser_store.h"

#include "platform/file_io.h"
#include "sources/chromium_bookmarks_reader.h"
#include "sources/favicon_store.h"
#include "sources/firefox_backup_reader.h"
#include "sources/firefox_places_reader.h"

#include <string_view>

namespace tellavin {

namespace {

// Whether the text opens a JSON object, after an optional byte order mark
// and blanks.
bool OpensJsonObject(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    auto first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

std::string ReadBookmarks(BrowserStore store, const std::string& path, BookmarkSink& sink) {
    switch (store) {
    case BrowserStore::FirefoxPlaces:
        return LoadFirefoxPlaces(path, sink);
    case BrowserStore::FirefoxBackup:
        return LoadFirefoxBackup(path, sink);
    case BrowserStore::ChromiumBookmarks:
        return LoadChromiumBookmarks(path, sink);
    default:
        return "not a browser's bookmark store";
    }
}

} // namespace

BrowserStore DetectBrowserStore(const std::string& path) {
    constexpr std::string_view kSqliteHeader("SQLite format 3\0", 16);
    // Enough for the keys Firefox writes before a backup's children.
    constexpr std::size_t kHead = 1024;
    auto start = ReadFileStart(path, kHead).value_or("");
    if (start.starts_with(kSqliteHeader)) {
        return BrowserStore::FirefoxPlaces;
    }
    if (LooksLikeFirefoxBackup(start)) {
        return BrowserStore::FirefoxBackup;
    }
    return OpensJsonObject(start) ? BrowserStore::ChromiumBookmarks : BrowserStore::None;
}

std::string ReadBrowserStore(BrowserStore store, const std::string& path, BookmarkSink& sink) {
    // The icons lie in a database of their own beside the bookmarks; a
    // backup names its icons' addresses only.
    std::unique_ptr<FaviconStore> icons;
    if (sink.WantsLinkIcons() && store == BrowserStore::FirefoxPlaces) {
        icons = OpenFirefoxFavicons(path);
    } else if (sink.WantsLinkIcons() && store == BrowserStore::ChromiumBookmarks) {
        icons = OpenChromiumFavicons(path);
    }
    if (icons) {
        IconAddingSink withIcons(sink, *icons);
        return ReadBookmarks(store, path, withIcons);
    }
    return ReadBookmarks(store, path, sink);
}

} // namespace tellavin
