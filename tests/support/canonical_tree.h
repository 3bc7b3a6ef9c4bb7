#pragma once

#include "model/bookmark_tree.h"

#include <string>

namespace tellavin::test {

// The tree as one line for comparing a tree read back from a written file
// with the tree it was written from: like TreeText with addresses, but the
// root is written as "root" (each store names its root its own way) and
// each folder's links come sorted by name and address, since writers order
// links by name while readers keep file order. withTrash false leaves the
// trash folder out, as the writers do.
std::string CanonicalTreeText(BookmarkTree& tree, bool withTrash = true);

// "N folders, M links\n" as the command line's count prints it, for what a
// writer exports of the tree: everything but the trash folder.
std::string ExportedCountText(BookmarkTree& tree);

} // namespace tellavin::test
