#pragma once

#include "model/bookmark_tree.h"

#include <string>

namespace tellavin::test {

// Every link of the tree with its icon, in row order, for comparing what
// icons a load kept: "name=image@address", the image as its media type and
// the first eight hex digits of its MD5 ("png:1a2b3c4d"), either part left
// out when the icon has none, and "name" alone for a link without an icon;
// then how many distinct images the tree holds: "A=png:1a2b3c4d@https://a/
// B; 1 images".
std::string IconText(BookmarkTree& tree);

} // namespace tellavin::test
