#include "sources/store_location.h"

#include "platform/file_checks.h"
#include "platform/platform.h"
#include "sources/chromium_profile.h"
#include "sources/safari_reader.h"

namespace tellavin {

std::optional<StoreLocation> ParseStoreLocation(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        return std::nullopt;
    }
    auto name = text.substr(0, colon);
    for (const auto& traits : kStoreKinds) {
        if (traits.readable && name == traits.name) {
            return StoreLocation{traits.kind, std::string(text.substr(colon + 1))};
        }
    }
    return std::nullopt;
}

std::string StoreFileOf(const StoreLocation& location) {
    if (location.kind == StoreKind::Chromium) {
        return ChromiumBookmarksOf(location.path).bookmarksFile;
    }
    if (location.kind == StoreKind::Firefox && FolderExists(location.path)) {
        return EnsureTrailingSeparator(location.path) + "places.sqlite";
    }
    if (location.kind == StoreKind::Safari && FolderExists(location.path)) {
        return EnsureTrailingSeparator(location.path) + kSafariBookmarksFile;
    }
    return location.path;
}

} // namespace tellavin
