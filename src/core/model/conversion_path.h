#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// The three bookmark stores and the menu page.
enum class StoreKind { Favorites, Netscape, Opera, Menu };

// Where one store is: its kind and its path (a folder for a Favorites
// folder, a file otherwise).
struct StoreLocation {
    StoreKind kind;
    std::string path;
};

// A store found on this machine: where it is, and for a Firefox profile's
// bookmark file the profile's name (empty for the other stores).
struct FoundStore {
    StoreLocation location;
    std::string label;
};

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

// The store is a single bookmark file (Netscape-format or hotlist), not a
// folder or a menu page.
inline bool IsBookmarkFileKind(StoreKind kind) {
    return kind == StoreKind::Netscape || kind == StoreKind::Opera;
}

// The kind's name in "kind:path" arguments: "favorites", "netscape", ...
std::string_view StoreKindName(StoreKind kind);

// The kind as a message names one store of it, article included: "a
// Favorites folder", "a Netscape-format file", "an Opera hotlist", "a menu
// page".
std::string_view StoreKindDescription(StoreKind kind);

} // namespace tellavin
