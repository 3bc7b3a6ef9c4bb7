#pragma once

#include "sources/store_location.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// The store a command-line argument names ("kind:path" or a path
// recognised by its kind); nothing, with a one-line message on err, when
// the argument names none.
std::optional<StoreLocation> StoreArgument(const std::string& text, std::ostream& err);

} // namespace tellavin::cli
