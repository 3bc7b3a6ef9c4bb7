#pragma once

#include "model/bookmark_tree.h"
#include "model/outcome.h"
#include "platform/platform.h"
#include "sources/store_location.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tellavin::cli {

// The store a command-line argument names ("kind:path" or a path
// recognised by its kind); nothing, with a one-line message on err, when
// the argument names none. A path that starts with "~" alone or "~/" starts
// in the user's home folder, as a shell would expand it had the path stood
// on its own: no shell expands "favorites:~/Favorites".
std::optional<StoreLocation> StoreArgument(const std::string& text, const Platform& platform,
                                           std::ostream& err);

// False, with "cannot read PATH: " and the reason on err, when the store
// could not be read, or read as empty while it is not of its kind.
bool ReportUnreadable(const StoreLocation& location, const ReadOutcome& read, bool empty,
                      std::ostream& err);

// Builds the tree of a store; false, with a one-line message on err, when
// the store cannot be read.
bool LoadStoreTree(const StoreLocation& location, BookmarkTree& tree, std::ostream& err);

} // namespace tellavin::cli
