#pragma once

#include "model/bookmark_tree.h"

#include <string>

namespace tellavin::test {

// The whole tree as one line, for comparing trees in tests: each folder is
// its name followed by "[ ... ]" holding its links and then its sub-folders
// in display order, e.g. "root[ a f1[ b c ] d ]". Links appear in row order;
// with addresses true each link is written name=address. Lists unlisted
// Favorites folders on the way.
std::string TreeText(BookmarkTree& tree, bool addresses = false);

} // namespace tellavin::test
