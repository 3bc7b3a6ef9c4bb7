#include "sources/store_location.h"

#include "platform/file_checks.h"
#include "platform/platform.h"

namespace tellavin {

namespace {

// The browsers' stores by argument kind, with the file a profile folder
// keeps them in.
struct BrowserStoreKind {
    std::string_view name;
    const char* fileInProfile;
};
constexpr BrowserStoreKind kBrowserStoreKinds[] = {{"firefox", "places.sqlite"},
                                                   {"chromium", "Bookmarks"}};

} // namespace

bool NamesBrowserStore(std::string_view text) {
    auto colon = text.find(':');
    for (const auto& browser : kBrowserStoreKinds) {
        if (colon != std::string_view::npos && text.substr(0, colon) == browser.name) {
            return true;
        }
    }
    return false;
}

std::optional<StoreLocation> ParseStoreLocation(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        return std::nullopt;
    }
    auto kind = text.substr(0, colon);
    std::string path(text.substr(colon + 1));
    for (const auto& browser : kBrowserStoreKinds) {
        if (kind == browser.name) {
            if (FolderExists(path)) {
                path = EnsureTrailingSeparator(path) + browser.fileInProfile;
            }
            return StoreLocation{StoreKind::Netscape, std::move(path)};
        }
    }
    for (auto candidate : {StoreKind::Favorites, StoreKind::Netscape, StoreKind::Opera}) {
        if (kind == StoreKindName(candidate)) {
            return StoreLocation{candidate, std::move(path)};
        }
    }
    return std::nullopt;
}

} // namespace tellavin
