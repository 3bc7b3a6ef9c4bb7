#include "cli/store_argument.h"

#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "sources/store_detection.h"
#include "sources/store_location.h"
#include "text/visible_text.h"

#include <ostream>

namespace tellavin::cli {

namespace {

// "kind:path" has its path expanded after the kind.
std::string WithPathExpanded(const std::string& text, const Platform& platform) {
    const std::size_t start = ParseStoreLocation(text) ? text.find(':') + 1 : 0;
    return text.substr(0, start) + WithHomeExpanded(text.substr(start), platform);
}

} // namespace

std::optional<StoreLocation> StoreArgument(const std::string& text, const Platform& platform,
                                           std::ostream& err) {
    auto location = RecognizeStoreLocation(WithPathExpanded(text, platform));
    if (!location) {
        err << "tellavin-cli: not a store: \"" << VisibleText(text)
            << "\" (expected favorites:DIR, netscape:FILE, opera:FILE, firefox:PROFILE, "
               "chromium:PROFILE, firefox-backup:FILE, an existing folder or file, or a new .adr, "
               ".html or .htm "
               "file)\n";
    }
    return location;
}

bool ReportUnreadable(const StoreLocation& location, const ReadOutcome& read, bool empty,
                      std::ostream& err) {
    // An empty store of its kind (an empty Favorites folder) is no fault.
    if (read && !(empty && !read.reason.empty())) {
        return true;
    }
    err << "tellavin-cli: cannot read " << VisibleText(location.path) << ": "
        << VisibleText(read.reason) << "\n";
    return false;
}

bool LoadStoreTree(const StoreLocation& location, BookmarkTree& tree, std::ostream& err) {
    auto read = LoadSourceTree(location, tree);
    return ReportUnreadable(location, read, !HoldsAnyBookmark(tree), err);
}

} // namespace tellavin::cli
