#pragma once

#include "model/bookmark_tree.h"

#include <string>

namespace tellavin::test {

// The tree as one line for comparing a tree read back from a written file
// with the tree it was written from: like TreeText with addresses, but the
// root is written as "root" (each store names its root its own way) and
// each folder's links come sorted by name and address, since writers order
// links by name while readers keep file order.
std::string CanonicalTreeText(BookmarkTree& tree);

} // namespace tellavin::test
