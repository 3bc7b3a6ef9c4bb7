#include "sources/favicon_store.h"

namespace tellavin {

// Built instead of the SQLite readers when the target has no SQLite: the
// browsers' icons are not read, and links keep the default image.
std::unique_ptr<FaviconStore> OpenFirefoxFavicons(const std::string&) {
    return nullptr;
}

std::unique_ptr<FaviconStore> OpenChromiumFavicons(const std::string&) {
    return nullptr;
}

} // namespace tellavin
