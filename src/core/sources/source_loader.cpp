#include "sources/source_loader.h"

#include "model/file_tree_builder.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/browser_store.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "text/ascii_text.h"

namespace tellavin {

namespace {
// Counts a bookmark file with the scanner of its kind.
template <typename Scanner>
std::optional<BookmarkCounts> CountFile(const std::string& path,
                                        const std::function<void(const std::string&)>& onFolder) {
    if (!FileExists(path)) {
        return std::nullopt;
    }
    Scanner scanner;
    scanner.FolderScan = onFolder;
    scanner.Scan(path);
    return BookmarkCounts{scanner.nTotalFolders(), scanner.nTotalLinks()};
}
// Counts a browser's own store through the same read that builds its tree.
std::optional<BookmarkCounts>
CountBrowserStore(BrowserStore store, const std::string& path,
                  const std::function<void(const std::string&)>& onFolder) {
    CountingSink counts;
    counts.onFolder = onFolder;
    if (!ReadBrowserStore(store, path, counts).empty()) {
        return std::nullopt;
    }
    return BookmarkCounts{counts.folders(), counts.links()};
}

bool BuildBrowserStoreTree(BrowserStore store, BookmarkTree& tree, const std::string& path,
                           ProgressSink* progress) {
    FileTreeBuilder builder(tree, StoreKind::Netscape, progress);
    if (!ReadBrowserStore(store, path, builder).empty()) {
        tree.Clear();
        return false;
    }
    builder.Finish();
    return true;
}

} // namespace

std::optional<BookmarkCounts> CountSource(const StoreLocation& source,
                                          const std::function<void(const std::string&)>& onFolder) {
    switch (source.kind) {
    case StoreKind::Favorites: {
        if (!FolderExists(source.path)) {
            return std::nullopt;
        }
        cFastScanning scanner;
        if (onFolder) {
            scanner.FolderScan = [&](const std::string&, const std::string& name) {
                onFolder(name);
            };
        }
        scanner.Scan(source.path);
        return BookmarkCounts{scanner.nFolder(), scanner.nLink()};
    }
    case StoreKind::Netscape:
        if (auto store = DetectBrowserStore(source.path); store != BrowserStore::None) {
            return CountBrowserStore(store, source.path, onFolder);
        }
        return CountFile<cNNFastScanning>(source.path, onFolder);
    case StoreKind::Opera:
        return CountFile<cOperaFastScanning>(source.path, onFolder);
    default:
        return std::nullopt;
    }
}

std::string WhySourceUnreadable(const StoreLocation& source) {
    bool folder = source.kind == StoreKind::Favorites;
    if (folder ? !FolderExists(source.path) : !FileExists(source.path)) {
        return ReasonCannotRead(source.path, folder);
    }
    if (folder) {
        return {};
    }
    if (source.kind == StoreKind::Netscape) {
        if (auto store = DetectBrowserStore(source.path); store != BrowserStore::None) {
            CountingSink counts;
            return ReadBrowserStore(store, source.path, counts);
        }
    }
    auto bytes = ReadWholeFile(source.path);
    if (!bytes) {
        return ReasonCannotRead(source.path, false);
    }
    if (source.kind == StoreKind::Opera) {
        return IsHotlistText(*bytes) ? std::string() : "not an Opera hotlist";
    }
    // The doctype opens the file, after at most a byte order mark and blanks.
    constexpr std::size_t kHead = 1024;
    auto head = LowerAscii(std::string_view(*bytes).substr(0, kHead));
    if (head.find("<!doctype netscape-bookmark-file") != std::string::npos) {
        return {};
    }
    CountingSink counts;
    ParseNetscapeText(DecodeNetscapeBytes(std::move(*bytes)), counts);
    return counts.folders() > 0 || counts.links() > 0 ? std::string()
                                                      : "not a Netscape-format file";
}

bool LoadSourceTree(const StoreLocation& source, BookmarkTree& tree, ProgressSink* progress) {
    switch (source.kind) {
    case StoreKind::Favorites: {
        if (!FolderExists(source.path)) {
            tree.Clear();
            return false;
        }
        return BuildFavoritesTree(tree, source.path, progress);
    }
    case StoreKind::Netscape:
        if (auto store = DetectBrowserStore(source.path); store != BrowserStore::None) {
            return BuildBrowserStoreTree(store, tree, source.path, progress);
        }
        return BuildNetscapeTree(tree, source.path, progress);
    case StoreKind::Opera:
        return LoadOperaTree(tree, source.path, progress);
    default:
        tree.Clear();
        return false;
    }
}

} // namespace tellavin
