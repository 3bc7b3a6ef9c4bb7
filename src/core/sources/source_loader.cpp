#include "sources/source_loader.h"

#include "model/file_tree_builder.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/browser_store.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "sources/safari_reader.h"
#include "sources/store_detection.h"
#include "sources/xbel_reader.h"

namespace tellavin {

namespace {

constexpr const char* kMenuPageIsNoSource = "a menu page is no source";

// Counts a bookmark file with the scanner of its kind.
template <typename Scanner>
SourceCount CountFile(const std::string& path,
                      const std::function<void(const std::string&)>& onFolder) {
    Scanner scanner;
    scanner.FolderScan = onFolder;
    auto read = scanner.Scan(path);
    return {std::move(read), {scanner.nTotalFolders(), scanner.nTotalLinks()}};
}

// A reader that pushes a store's events into a sink and returns empty when
// it read the store, else why not.
using SinkReader = std::function<std::string(BookmarkSink&)>;

// Counts a store through the same read that builds its tree.
SourceCount CountBySink(const SinkReader& read,
                        const std::function<void(const std::string&)>& onFolder) {
    CountingSink counts;
    counts.onFolder = onFolder;
    if (auto reason = read(counts); !reason.empty()) {
        return {ReadOutcome::Unreadable(std::move(reason)), {}};
    }
    return {{}, {counts.folders(), counts.links()}};
}

ReadOutcome BuildBySink(const SinkReader& read, BookmarkTree& tree, ProgressSink* progress) {
    FileTreeBuilder builder(tree, StoreKind::Netscape, progress);
    if (auto reason = read(builder); !reason.empty()) {
        tree.Clear();
        return ReadOutcome::Unreadable(std::move(reason));
    }
    builder.Finish();
    return {};
}

SinkReader BrowserStoreReader(BrowserStore store, const std::string& path) {
    return [store, path](BookmarkSink& sink) { return ReadBrowserStore(store, path, sink); };
}

// The reader of a kind read through a sink: a browser's store, an XBEL
// file or Safari's bookmarks, each from the file StoreFileOf names.
SinkReader SinkReaderOf(const StoreLocation& source) {
    auto path = StoreFileOf(source);
    switch (source.kind) {
    case StoreKind::Xbel:
        return [path](BookmarkSink& sink) { return LoadXbelFile(path, sink); };
    case StoreKind::Safari:
        return [path](BookmarkSink& sink) { return LoadSafariBookmarks(path, sink); };
    case StoreKind::Firefox:
        return BrowserStoreReader(BrowserStore::FirefoxPlaces, path);
    case StoreKind::FirefoxBackup:
        return BrowserStoreReader(BrowserStore::FirefoxBackup, path);
    default:
        return BrowserStoreReader(BrowserStore::ChromiumBookmarks, path);
    }
}

ReadOutcome FolderUnreadable(const std::string& path) {
    return ReadOutcome::Unreadable(ReasonCannotRead(path, true));
}

} // namespace

SourceCount CountSource(const StoreLocation& source,
                        const std::function<void(const std::string&)>& onFolder) {
    switch (source.kind) {
    case StoreKind::Favorites: {
        if (!FolderExists(source.path)) {
            return {FolderUnreadable(source.path), {}};
        }
        cFastScanning scanner;
        if (onFolder) {
            scanner.FolderScan = [&](const std::string&, const std::string& name) {
                onFolder(name);
            };
        }
        scanner.Scan(source.path);
        return {{}, {scanner.nFolder(), scanner.nLink()}};
    }
    case StoreKind::Netscape:
        if (auto store = DetectBrowserStore(source.path); store != BrowserStore::None) {
            return CountBySink(BrowserStoreReader(store, source.path), onFolder);
        }
        if (auto kind = DetectStoreFileKind(source.path)) {
            return CountBySink(SinkReaderOf({*kind, source.path}), onFolder);
        }
        return CountFile<cNNFastScanning>(source.path, onFolder);
    case StoreKind::Opera:
        return CountFile<cOperaFastScanning>(source.path, onFolder);
    case StoreKind::Firefox:
    case StoreKind::Chromium:
    case StoreKind::FirefoxBackup:
    case StoreKind::Xbel:
    case StoreKind::Safari:
        return CountBySink(SinkReaderOf(source), onFolder);
    default:
        return {ReadOutcome::Unreadable(kMenuPageIsNoSource), {}};
    }
}

ReadOutcome LoadSourceTree(const StoreLocation& source, BookmarkTree& tree,
                           ProgressSink* progress) {
    switch (source.kind) {
    case StoreKind::Favorites:
        if (!FolderExists(source.path) || !BuildFavoritesTree(tree, source.path, progress)) {
            tree.Clear();
            return FolderUnreadable(source.path);
        }
        return {};
    case StoreKind::Netscape:
        if (auto store = DetectBrowserStore(source.path); store != BrowserStore::None) {
            return BuildBySink(BrowserStoreReader(store, source.path), tree, progress);
        }
        if (auto kind = DetectStoreFileKind(source.path)) {
            return BuildBySink(SinkReaderOf({*kind, source.path}), tree, progress);
        }
        return BuildNetscapeTree(tree, source.path, progress);
    case StoreKind::Opera:
        return LoadOperaTree(tree, source.path, progress);
    case StoreKind::Firefox:
    case StoreKind::Chromium:
    case StoreKind::FirefoxBackup:
    case StoreKind::Xbel:
    case StoreKind::Safari:
        return BuildBySink(SinkReaderOf(source), tree, progress);
    default:
        tree.Clear();
        return ReadOutcome::Unreadable(kMenuPageIsNoSource);
    }
}

} // namespace tellavin
