#include "conversion/target_writer.h"

#include "sources/store_location.h"
#include "targets/chromium_writer.h"
#include "targets/favorites_writer.h"
#include "targets/firefox_places_writer.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "targets/xbel_writer.h"

#include <ctime>

namespace tellavin {

ExportResult WriteTarget(BookmarkTree& tree, const ConversionRequest& request,
                         ProgressSink& progress) {
    const auto& path = request.target.path;
    const WriteOptions& options = request.options;
    switch (request.target.kind) {
    case StoreKind::Netscape:
        return PrintBookmarkFile(tree, path, options, progress);
    case StoreKind::Opera:
        return PrintHotlistFile(tree, path, options, progress);
    case StoreKind::Xbel:
        return WriteXbelFile(tree, path, options, progress);
    case StoreKind::Favorites:
        return ExportToFavorites(tree, path, options, progress);
    case StoreKind::Menu:
        return WriteMenuPage(tree, path, options, request.menu, progress);
    case StoreKind::Chromium:
        return WriteChromiumBookmarks(tree, ChromiumBookmarksOf(path), options, std::time(nullptr),
                                      progress);
    case StoreKind::Firefox:
        return WriteFirefoxPlaces(tree, StoreFileOf(request.target), options, std::time(nullptr),
                                  progress);
    default:
        break;
    }
    return ExportResult::Failed({"Error", {"Unknown kind of target."}});
}

} // namespace tellavin
