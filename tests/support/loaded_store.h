#pragma once

#include "model/store_kind.h"

#include <string>

namespace tellavin::test {

// A store as loaded: the root's text, the tree with what its links and
// folders carry (OrderedTreeText with details), then one line per kind of
// loss; "unreadable: " and the reason when it cannot be read. Expects the
// count of the store to equal the tree.
std::string LoadedStoreText(const StoreLocation& source);

} // namespace tellavin::test
