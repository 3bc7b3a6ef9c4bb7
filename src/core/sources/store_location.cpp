#include "sources/store_location.h"

namespace tellavin {

std::optional<StoreLocation> ParseStoreLocation(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
        return std::nullopt;
    }
    auto kind = text.substr(0, colon);
    std::string path(text.substr(colon + 1));
    for (auto candidate : {StoreKind::Favorites, StoreKind::Netscape, StoreKind::Opera}) {
        if (kind == StoreKindName(candidate)) {
            return StoreLocation{candidate, std::move(path)};
        }
    }
    return std::nullopt;
}

} // namespace tellavin
