#include "model/conversion_path.h"

namespace tellavin {

std::optional<ConversionPath> ConversionPathFor(StoreKind source, StoreKind target) {
    for (const auto& info : kConversionPaths) {
        if (info.source == source && info.target == target) {
            return info.code;
        }
    }
    return std::nullopt;
}

std::string_view StoreKindName(StoreKind kind) {
    switch (kind) {
    case StoreKind::Favorites:
        return "favorites";
    case StoreKind::Netscape:
        return "netscape";
    case StoreKind::Opera:
        return "opera";
    case StoreKind::Menu:
        return "menu";
    }
    return "";
}

std::string_view StoreKindDescription(StoreKind kind) {
    switch (kind) {
    case StoreKind::Favorites:
        return "a Favorites folder";
    case StoreKind::Netscape:
        return "a Netscape-format file";
    case StoreKind::Opera:
        return "an Opera hotlist";
    case StoreKind::Menu:
        return "a menu page";
    }
    return "";
}

} // namespace tellavin
