#include "sources/browser_store.h"

#include "platform/file_io.h"
#include "sources/chromium_bookmarks_reader.h"
#include "sources/firefox_places_reader.h"

#include <fstream>
#include <string_view>

namespace tellavin {

namespace {

// The first bytes of a file, as many as there are up to size.
std::string ReadFileStart(const std::string& path, std::size_t size) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::string start(size, '\0');
    in.read(start.data(), static_cast<std::streamsize>(size));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return start;
}

// Whether the text opens a JSON object, after an optional byte order mark
// and blanks.
bool OpensJsonObject(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    auto first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

} // namespace

BrowserStore DetectBrowserStore(const std::string& path) {
    constexpr std::string_view kSqliteHeader("SQLite format 3\0", 16);
    constexpr std::size_t kHead = 256;
    auto start = ReadFileStart(path, kHead);
    if (start.starts_with(kSqliteHeader)) {
        return BrowserStore::FirefoxPlaces;
    }
    return OpensJsonObject(start) ? BrowserStore::ChromiumBookmarks : BrowserStore::None;
}

std::string ReadBrowserStore(BrowserStore store, const std::string& path, BookmarkSink& sink) {
    switch (store) {
    case BrowserStore::FirefoxPlaces:
        return LoadFirefoxPlaces(path, sink);
    case BrowserStore::ChromiumBookmarks:
        return LoadChromiumBookmarks(path, sink);
    default:
        return "not a browser's bookmark store";
    }
}

} // namespace tellavin
