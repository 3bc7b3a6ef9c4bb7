#include "support/event_tree.h"

#include "model/file_tree_builder.h"

namespace tellavin::test {

BookmarkTree TreeFromEvents(const std::function<void(BookmarkSink&)>& events, StoreKind source) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, source);
    builder.SetRootText("root");
    events(builder);
    builder.Finish();
    return tree;
}

} // namespace tellavin::test
