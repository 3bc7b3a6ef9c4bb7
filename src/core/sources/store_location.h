#pragma once

#include "model/conversion_path.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Parses a store named on the command line, "kind:path" (favorites:DIR,
// netscape:FILE or opera:FILE); nothing when the kind is not known or the path is
// empty.
std::optional<StoreLocation> ParseStoreLocation(std::string_view text);

} // namespace tellavin
