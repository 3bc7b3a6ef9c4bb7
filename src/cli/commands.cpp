#include "cli/commands.h"

#include "cli/outcome_answers.h"
#include "cli/store_argument.h"
#include "cli/tree_printer.h"
#include "model/bookmark_tree.h"
#include "model/labelled_location.h"
#include "sources/browser_discovery.h"
#include "sources/source_loader.h"
#include "sources/store_discovery.h"
#include "text/visible_text.h"

#include <ostream>

namespace tellavin::cli {

int RunCount(const std::string& source, const Platform& platform, std::ostream& out,
             std::ostream& err) {
    auto location = StoreArgument(source, platform, err);
    if (!location) {
        return 2;
    }
    auto [read, counts] = CountSource(*location);
    if (!ReportUnreadable(*location, read, counts.folders == 0 && counts.links == 0, err)) {
        return 1;
    }
    out << counts.folders << " folders, " << counts.links << " links\n";
    return 0;
}

int RunTree(const std::string& source, const SelectionChoice& choice, const Platform& platform,
            std::ostream& out, std::ostream& err) {
    auto location = StoreArgument(source, platform, err);
    if (!location) {
        return 2;
    }
    BookmarkTree tree;
    if (!LoadStoreTree(*location, tree, err)) {
        return 1;
    }
    if (!choice.Empty()) {
        NullProgress quiet;
        auto applied = ApplyChoice(tree, choice, quiet);
        if (applied.kind != OutcomeKind::Done) {
            err << OutcomeLine({applied.kind,
                                location->kind,
                                location->kind,
                                location->path,
                                {},
                                applied.subject})
                << "\n";
            return ExitStatusFor(applied.kind);
        }
    }
    PrintTree(tree, out, choice.Empty());
    return 0;
}

int RunDiscover(const Platform& platform, std::ostream& out) {
    constexpr const char* kNone = "(none found)";
    auto favorites = LocateFavoritesFolder(platform);
    out << "Favorites folder:  " << (favorites.empty() ? kNone : VisibleText(favorites)) << "\n";

    NullProgress status;
    auto firefox = LocateFirefoxBookmarks(platform, status);
    for (const auto& store : firefox) {
        out << "Firefox bookmarks: "
            << VisibleText(LabelledLocation(store.label, store.location.path)) << "\n";
    }
    if (firefox.empty()) {
        out << "Firefox bookmarks: " << kNone << "\n";
    }

    auto databases = LocateBrowserDatabases(platform);
    for (const auto& store : databases) {
        out << "Browser database:  "
            << VisibleText(LabelledLocation(store.label, store.location.path)) << "\n";
    }
    if (databases.empty()) {
        out << "Browser database:  " << kNone << "\n";
    }

    // Safari keeps a store on macOS only: elsewhere the line would never
    // name one.
    for (const auto& store : LocateSafariBookmarks(platform)) {
        out << "Safari bookmarks:  " << VisibleText(store.location.path) << "\n";
    }

    auto opera = LocateOperaHotlist(platform);
    out << "Opera hotlist:     "
        << (opera.empty() ? kNone : VisibleText(opera.front().location.path)) << "\n";
    return 0;
}

} // namespace tellavin::cli
