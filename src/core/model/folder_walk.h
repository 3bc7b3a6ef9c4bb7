#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>

namespace tellavin {

// What a writer does at each folder it writes.
class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // A written folder starts; isStart is true for the folder the walk began
    // at (the root), which writers enter without a heading.
    virtual void Enter(std::int32_t folder, bool isStart) = 0;
    // A written folder ends, after all its sub-folders.
    virtual void Leave(std::int32_t folder, bool isStart) = 0;
};

// Walks the folders below and including start, depth first in display
// order. A folder is written when it is checked or everything is exported;
// the sub-folders of a folder that is not written are still walked, so a
// checked folder below an unchecked one lands in the nearest written
// ancestor. Works without recursion, so any depth is safe.
void WalkExportedFolders(const BookmarkTree& tree, bool exportAll, FolderVisitor& visitor,
                         std::int32_t start = 0);

} // namespace tellavin
