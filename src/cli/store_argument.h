#pragma once

#include "model/bookmark_tree.h"
#include "sources/store_location.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// The store a command-line argument names ("kind:path" or a path
// recognised by its kind); nothing, with a one-line message on err, when
// the argument names none.
std::optional<StoreLocation> StoreArgument(const std::string& text, std::ostream& err);

// Builds the tree of a store; false, with a one-line message on err, when
// the store cannot be read.
bool LoadStoreTree(const StoreLocation& location, BookmarkTree& tree, std::ostream& err);

} // namespace tellavin::cli
