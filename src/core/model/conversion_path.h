#pragma once

#include "model/store_kind.h"

#include <cstdint>
#include <optional>

namespace tellavin {

// A conversion path code: 0 when no path is open, else 2 to 11. Codes 1 and
// 3 are no paths; saved window options use them as the kinds of the main and
// the selection window.
using ConversionPath = std::int32_t;

struct ConversionPathInfo {
    ConversionPath code;
    StoreKind source;
    StoreKind target;
};

// The nine conversion paths, in the order the main window offers them.
inline constexpr ConversionPathInfo kConversionPaths[] = {
    {2, StoreKind::Favorites, StoreKind::Netscape}, {7, StoreKind::Favorites, StoreKind::Opera},
    {5, StoreKind::Favorites, StoreKind::Menu},     {4, StoreKind::Netscape, StoreKind::Favorites},
    {8, StoreKind::Netscape, StoreKind::Opera},     {6, StoreKind::Netscape, StoreKind::Menu},
    {9, StoreKind::Opera, StoreKind::Favorites},    {10, StoreKind::Opera, StoreKind::Netscape},
    {11, StoreKind::Opera, StoreKind::Menu},
};

std::optional<ConversionPath> ConversionPathFor(StoreKind source, StoreKind target);

} // namespace tellavin
