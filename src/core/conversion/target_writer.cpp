#include "conversion/target_writer.h"

#include "targets/favorites_writer.h"
#include "targets/netscape_writer.h"

namespace tellavin {

namespace {

ExportResult WriteNetscape(BookmarkTree& tree, const ConversionRequest& request,
                           const Platform& platform, ProgressSink& progress) {
    const auto& options = request.options;
    NetscapeWriterOptions netscape;
    netscape.merge = options.merge;
    netscape.newFolder = options.newFolder;
    netscape.exportAll = request.exportAll;
    netscape.linksBefore = options.links == LinksPlacement::BeforeFolders;
    netscape.profileName = options.profileName.value_or(platform.GetCurrentUserName());
    netscape.keepOrder = options.keepOrder;
    return PrintBookmarkFile(tree, request.target.path, netscape, progress);
}

ExportResult WriteOpera(BookmarkTree& tree, const ConversionRequest& request, const Platform&,
                        ProgressSink& progress) {
    const auto& options = request.options;
    OperaWriteOptions opera;
    opera.merge = options.merge;
    opera.inNewFolder = options.newFolder.has_value();
    opera.newFolderName = options.newFolder.value_or("");
    opera.exportAll = request.exportAll;
    opera.links = options.links;
    opera.keepOrder = options.keepOrder;
    return PrintHotlistFile(tree, request.target.path, opera, progress);
}

ExportResult WriteFavorites(BookmarkTree& tree, const ConversionRequest& request, const Platform&,
                            ProgressSink& progress) {
    const auto& options = request.options;
    FavoritesWriteOptions favorites;
    if (options.newFolder) {
        favorites.where = FavoritesPlace::NewFolder;
        favorites.newFolderName = *options.newFolder;
    } else if (options.existingFolder) {
        favorites.where = FavoritesPlace::ExistingFolder;
        favorites.existingFolder = *options.existingFolder;
    }
    favorites.exportAll = request.exportAll;
    favorites.keepOrder = options.keepOrder;
    return ExportToFavorites(tree, request.target.path, favorites, progress);
}

ExportResult WriteMenu(BookmarkTree& tree, const ConversionRequest& request, const Platform&,
                       ProgressSink& progress) {
    auto menu = request.menu;
    menu.bExportAll = request.exportAll;
    menu.keepOrder = request.options.keepOrder;
    return WriteMenuPage(tree, request.target.path, menu, progress);
}

} // namespace

ExportResult WriteTarget(BookmarkTree& tree, const ConversionRequest& request,
                         const Platform& platform, ProgressSink& progress) {
    switch (request.target.kind) {
    case StoreKind::Netscape:
        return WriteNetscape(tree, request, platform, progress);
    case StoreKind::Opera:
        return WriteOpera(tree, request, platform, progress);
    case StoreKind::Favorites:
        return WriteFavorites(tree, request, platform, progress);
    case StoreKind::Menu:
        return WriteMenu(tree, request, platform, progress);
    }
    return ExportResult::Failed({"Error", {"Unknown kind of target."}});
}

} // namespace tellavin
