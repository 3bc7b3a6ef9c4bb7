#include "model/conversion_path.h"

namespace tellavin {

std::optional<ConversionPathInfo> FindConversionPath(ConversionPath code) {
    for (const auto& info : kConversionPaths) {
        if (info.code == code) {
            return info;
        }
    }
    return std::nullopt;
}

std::optional<ConversionPath> ConversionPathFor(StoreKind source, StoreKind target) {
    for (const auto& info : kConversionPaths) {
        if (info.source == source && info.target == target) {
            return info.code;
        }
    }
    return std::nullopt;
}

namespace {
bool SourceIs(ConversionPath code, StoreKind kind) {
    auto info = FindConversionPath(code);
    return info && info->source == kind;
}
bool TargetIs(ConversionPath code, StoreKind kind) {
    auto info = FindConversionPath(code);
    return info && info->target == kind;
}
} // namespace

bool SourceIsFavorites(ConversionPath code) {
    return SourceIs(code, StoreKind::Favorites);
}
bool SourceIsNetscape(ConversionPath code) {
    return SourceIs(code, StoreKind::Netscape);
}
bool SourceIsOpera(ConversionPath code) {
    return SourceIs(code, StoreKind::Opera);
}
bool TargetIsFavorites(ConversionPath code) {
    return TargetIs(code, StoreKind::Favorites);
}
bool TargetIsNetscape(ConversionPath code) {
    return TargetIs(code, StoreKind::Netscape);
}
bool TargetIsOpera(ConversionPath code) {
    return TargetIs(code, StoreKind::Opera);
}
bool TargetIsMenu(ConversionPath code) {
    return TargetIs(code, StoreKind::Menu);
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
