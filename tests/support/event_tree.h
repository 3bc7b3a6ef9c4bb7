#pragma once

#include "model/bookmark_sink.h"
#include "model/bookmark_tree.h"

#include <functional>

namespace tellavin::test {

// A tree built the way a file reader builds one, from the events that
// events pushes (BeginFolder, AddLink, EndFolder), for writer tests.
BookmarkTree TreeFromEvents(const std::function<void(BookmarkSink&)>& events,
                            StoreKind source = StoreKind::Opera);

} // namespace tellavin::test
