#include "cli/store_argument.h"

#include "sources/source_loader.h"
#include "sources/store_detection.h"
#include "text/visible_text.h"

#include <ostream>

namespace tellavin::cli {

std::optional<StoreLocation> StoreArgument(const std::string& text, std::ostream& err) {
    auto location = RecognizeStoreLocation(text);
    if (!location) {
        err << "tellavin-cli: not a store: \"" << VisibleText(text)
            << "\" (expected favorites:DIR, netscape:FILE, opera:FILE, an existing folder or "
               "file, or a new .adr, .html or .htm file)\n";
    }
    return location;
}

bool LoadStoreTree(const StoreLocation& location, BookmarkTree& tree, std::ostream& err) {
    if (LoadSourceTree(location, tree)) {
        return true;
    }
    err << "tellavin-cli: cannot read " << VisibleText(location.path) << "\n";
    return false;
}

} // namespace tellavin::cli
