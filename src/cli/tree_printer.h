#pragma once

#include "model/bookmark_tree.h"

#include <iosfwd>

namespace tellavin::cli {

// Prints the folders in display order, two spaces deeper per level, each
// followed by its links ("name  <address>").
void PrintTree(BookmarkTree& tree, std::ostream& out);

} // namespace tellavin::cli
