#pragma once

#include "model/bookmark_tree.h"

#include <string>

namespace tellavin::test {

// The whole tree as one line in the order its folders hold their rows,
// with what the order-keeping conversions carry: "root[ Bar*[ a=http://a/
// {100/200} --- ] b=http://b/ ]". A folder marked as the toolbar has a "*"
// after its name, a separator is "---", and a link with dates has
// {created/changed} after its address (0 for one not known); withChanged
// false leaves change dates out (a Favorites folder's are the time of
// writing when its source had none). Lists unlisted Favorites folders.
std::string OrderedTreeText(BookmarkTree& tree, bool withChanged = true);

} // namespace tellavin::test
