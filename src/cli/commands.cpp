#include "cli/commands.h"

#include "cli/store_argument.h"
#include "cli/tree_printer.h"
#include "model/bookmark_tree.h"
#include "sources/source_loader.h"
#include "sources/store_discovery.h"
#include "text/visible_text.h"

#include <ostream>

namespace tellavin::cli {

int RunCount(const std::string& source, std::ostream& out, std::ostream& err) {
    auto location = StoreArgument(source, err);
    if (!location) {
        return 2;
    }
    auto counts = CountSource(*location);
    if (!counts) {
        err << "tellavin-cli: cannot read " << VisibleText(location->path) << "\n";
        return 1;
    }
    out << counts->folders << " folders, " << counts->links << " links\n";
    return 0;
}

int RunTree(const std::string& source, std::ostream& out, std::ostream& err) {
    auto location = StoreArgument(source, err);
    if (!location) {
        return 2;
    }
    BookmarkTree tree;
    if (!LoadStoreTree(*location, tree, err)) {
        return 1;
    }
    PrintTree(tree, out);
    return 0;
}

int RunDiscover(const Platform& platform, std::ostream& out) {
    constexpr const char* kNone = "(none found)";
    auto favorites = LocateFavoritesFolder(platform);
    out << "Favorites folder:  " << (favorites.empty() ? kNone : VisibleText(favorites)) << "\n";

    LocationList firefox;
    NullProgress status;
    LocateFirefoxBookmarks(platform, firefox, status);
    for (const auto& item : firefox.Items()) {
        out << "Firefox bookmarks: " << VisibleText(item) << "\n";
    }
    if (firefox.Count() == 0) {
        out << "Firefox bookmarks: " << kNone << "\n";
    }

    LocationList opera;
    LocateOperaHotlist(platform, opera);
    out << "Opera hotlist:     " << (opera.Count() == 0 ? kNone : VisibleText(opera.Item(0)))
        << "\n";
    return 0;
}

} // namespace tellavin::cli
