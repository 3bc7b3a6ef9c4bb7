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
// withDetails adds what a link or folder carries besides: after a link
// "<d:description k:keyword t:tag,tag>", after a folder's name its dates
// "{created/changed}" (withChanged as for links) and "<d:description>",
// each part only when there is one: "Bar*{5/6}<d:mine>[ a=http://a/<k:go
// t:x,y> ]".
std::string OrderedTreeText(BookmarkTree& tree, bool withChanged = true, bool withDetails = false);

} // namespace tellavin::test
