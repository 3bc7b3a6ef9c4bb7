#pragma once

#include "model/bookmark_sink.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace tellavin {

// Walks a store's nested lists of items depth first, in stored order, with
// an explicit stack, so nesting depth is not limited. visit(item) pushes the
// item into the sink and returns the list inside it when it is a folder it
// began, else nullptr; the walk ends each folder at the end of its list.
// List is any container with size() and operator[] by index.
template <typename List, typename Visit>
void WalkNestedLists(const List& top, BookmarkSink& sink, Visit visit) {
    std::vector<std::pair<const List*, std::size_t>> open{{&top, 0}};
    while (!open.empty()) {
        auto& [list, next] = open.back();
        if (next == list->size()) {
            open.pop_back();
            if (!open.empty()) {
                sink.EndFolder();
            }
            continue;
        }
        const auto& item = (*list)[next++];
        if (const List* inner = visit(item)) {
            open.emplace_back(inner, 0);
        }
    }
}

} // namespace tellavin
