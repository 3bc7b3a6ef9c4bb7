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

// An XML document's kind by what its start names: a property list is
// Safari's, an xbel document an XBEL file.
std::optional<StoreKind> XmlKind(std::string_view start) {
    start = StripUtf8Bom(start);
    start.remove_prefix(std::min(start.find_first_not_of(" \t\r\n"), start.size()));
    bool declared = start.starts_with("<?xml");
    auto names = [&](std::string_view element) {
        auto doctype = "<!DOCTYPE " + std::string(element);
        auto tag = "<" + std::string(element);
        if (start.starts_with(doctype) || start.starts_with(tag)) {
            return true;
        }
        return declared && (start.find(doctype) != std::string_view::npos ||
                            start.find(tag) != std::string_view::npos);
    };
    if (declared && names("plist")) {
        return StoreKind::Safari;
    }
    if (names("xbel")) {
        return StoreKind::Xbel;
    }
    return std::nullopt;
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
        break;
    }
    if (auto kind = DetectStoreFileKind(path)) {
        return *kind;
    }
    constexpr std::size_t kHotlistHead = 32;
    auto start = ReadFileStart(path, kHotlistHead);
    return start && IsHotlistText(*start) ? StoreKind::Opera : StoreKind::Netscape;
}

std::optional<StoreKind> KindByExtension(const std::string& path) {
    auto extension = LowerAscii(Utf8FromPath(PathFromUtf8(path).extension()));
    if (extension == ".adr") {
        return StoreKind::Opera;
    }
    if (extension == ".html" || extension == ".htm") {
        return StoreKind::Netscape;
    }
    if (extension == ".xbel") {
        return StoreKind::Xbel;
    }
    return std::nullopt;
}

} // namespace

std::optional<StoreKind> DetectStoreFileKind(const std::string& path) {
    constexpr std::size_t kHead = 1024;
    auto start = ReadFileStart(path, kHead).value_or("");
    if (start.starts_with("bplist00")) {
        return StoreKind::Safari;
    }
    return XmlKind(start);
}

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
