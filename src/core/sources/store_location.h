#pragma once

#include "model/conversion_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// A bookmark store named on the command line: "favorites:DIR",
// "netscape:FILE" or "opera:FILE".
struct StoreLocation {
    StoreKind kind;
    std::string path;
};

// Parses "kind:path"; nothing when the kind is not known or the path is
// empty.
std::optional<StoreLocation> ParseStoreLocation(std::string_view text);

} // namespace tellavin
