#include "sources/source_loader.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"

#include <filesystem>

namespace tellavin {

namespace {
bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(PathFromUtf8(path), error);
}
} // namespace

std::optional<SourceCounts> CountSource(const StoreLocation& source,
                                        const std::function<void(const std::string&)>& onFolder) {
    switch (source.kind) {
    case StoreKind::Favorites: {
        if (!IsDirectory(source.path)) {
            return std::nullopt;
        }
        cFastScanning scanner;
        if (onFolder) {
            scanner.FolderScan = [&](const std::string&, const std::string& name) {
                onFolder(name);
            };
        }
        scanner.Scan(source.path);
        return SourceCounts{scanner.nFolder(), scanner.nLink()};
    }
    case StoreKind::Netscape: {
        if (!FileExists(source.path)) {
            return std::nullopt;
        }
        cNNFastScanning scanner;
        scanner.FolderScan = onFolder;
        scanner.Scan(source.path);
        return SourceCounts{scanner.nTotalFolders(), scanner.nTotalLinks()};
    }
    default:
        return std::nullopt;
    }
}

bool LoadSourceTree(const StoreLocation& source, BookmarkTree& tree, ProgressSink* progress) {
    switch (source.kind) {
    case StoreKind::Favorites: {
        if (!IsDirectory(source.path)) {
            tree.Clear();
            return false;
        }
        return BuildFavoritesTree(tree, source.path, progress);
    }
    case StoreKind::Netscape:
        return BuildNetscapeTree(tree, source.path, progress);
    default:
        tree.Clear();
        return false;
    }
}

} // namespace tellavin
