#pragma once

#include "model/bookmark_tree.h"

#include <iosfwd>

namespace tellavin::cli {

// Prints the folders in display order, two spaces deeper per level, each
// followed by its links ("name  <address>"). With everything false, only
// the checked folders with their checked links, as an export writes them:
// each in the nearest checked folder above it, below the root's name.
void PrintTree(BookmarkTree& tree, std::ostream& out, bool everything = true);

} // namespace tellavin::cli
