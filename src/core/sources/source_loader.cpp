#include "sources/source_loader.h"

#include "model/file_tree_builder.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/browser_store.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"

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

// Counts a browser's own store through the same read that builds its tree.
SourceCount CountBrowserStore(BrowserStore store, const std::string& path,
                              const std::function<void(const std::string&)>& onFolder) {
    CountingSink counts;
    counts.onFolder = onFolder;
    if (auto reason = ReadBrowserStore(store, path, counts); !reason.empty()) {
        return {ReadOutcome::Unreadable(std::move(reason)), {}};
    }
    return {{}, {counts.folders(), counts.links()}};
}

ReadOutcome BuildBrowserStoreTree(BrowserStore store, BookmarkTree& tree, const std::string& path,
                                  ProgressSink* progress) {
    FileTreeBuilder builder(tree, StoreKind::Netscape, progress);
    if (auto reason = ReadBrowserStore(store, path, builder); !reason.empty()) {
        tree.Clear();
        return ReadOutcome::Unreadable(std::move(reason));
    }
    builder.Finish();
    return {};
}

// The reader of a browser's store kind.
BrowserStore BrowserStoreOf(StoreKind kind) {
    switch (kind) {
    case StoreKind::Firefox:
        return BrowserStore::FirefoxPlaces;
    case StoreKind::FirefoxBackup:
        return BrowserStore::FirefoxBackup;
    default:
        return BrowserStore::ChromiumBookmarks;
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
            return CountBrowserStore(store, source.path, onFolder);
        }
        return CountFile<cNNFastScanning>(source.path, onFolder);
    case StoreKind::Opera:
        return CountFile<cOperaFastScanning>(source.path, onFolder);
    case StoreKind::Firefox:
    case StoreKind::Chromium:
    case StoreKind::FirefoxBackup:
        return CountBrowserStore(BrowserStoreOf(source.kind), StoreFileOf(source), onFolder);
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
            return BuildBrowserStoreTree(store, tree, source.path, progress);
        }
        return BuildNetscapeTree(tree, source.path, progress);
    case StoreKind::Opera:
        return LoadOperaTree(tree, source.path, progress);
    case StoreKind::Firefox:
    case StoreKind::Chromium:
    case StoreKind::FirefoxBackup:
        return BuildBrowserStoreTree(BrowserStoreOf(source.kind), tree, StoreFileOf(source),
                                     progress);
    default:
        tree.Clear();
        return ReadOutcome::Unreadable(kMenuPageIsNoSource);
    }
}

} // namespace tellavin
