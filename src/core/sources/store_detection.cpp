#include "sources/store_detection.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/browser_store.h"
#include "sources/opera_reader.h"
#include "text/ascii_text.h"
#include "text/encoding.h"

#include <algorithm>
#include <filesystem>

namespace tellavin {

namespace {

bool StartsLikeAHotlist(const std::string& path) {
    constexpr std::size_t kHead = 32;
    auto start = ReadFileStart(path, kHead);
    return start && IsHotlistText(*start);
}

StoreKind KindByContent(const std::string& path) {
    switch (DetectBrowserStore(path)) {
    case BrowserStore::FirefoxPlaces:
        return StoreKind::Firefox;
    case BrowserStore::FirefoxBackup:
        return StoreKind::FirefoxBackup;
    case BrowserStore::ChromiumBookmarks:
        return StoreKind::Chromium;
    default:
        return StartsLikeAHotlist(path) ? StoreKind::Opera : StoreKind::Netscape;
    }
}

std::optional<StoreKind> KindByExtension(const std::string& path) {
    auto extension = LowerAscii(Utf8FromPath(PathFromUtf8(path).extension()));
    if (extension == ".adr") {
        return StoreKind::Opera;
    }
    if (extension == ".html" || extension == ".htm") {
        return StoreKind::Netscape;
    }
    return std::nullopt;
}

} // namespace

std::optional<StoreLocation> RecognizeStoreLocation(std::string_view text) {
    if (auto named = ParseStoreLocation(text)) {
        return named;
    }
    std::string path(text);
    if (path.empty()) {
        return std::nullopt;
    }
    if (FolderExists(path)) {
        return StoreLocation{StoreKind::Favorites, path};
    }
    if (FileExists(path)) {
        return StoreLocation{KindByContent(path), path};
    }
    if (auto kind = KindByExtension(path)) {
        return StoreLocation{*kind, path};
    }
    return std::nullopt;
}

} // namespace tellavin
