#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"

#include <cstdint>

namespace tellavin {

// What a writer does at each folder it writes.
class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // A written folder starts; isStart is true for the folder the walk began
    // at (the root), which writers enter without a heading. The folder's
    // rows are listed, unless listing it failed (its record is then not
    // bListed and it has no rows).
    virtual void Enter(std::int32_t folder, bool isStart) = 0;
    // A written folder ends, after all its sub-folders.
    virtual void Leave(std::int32_t folder, bool isStart) = 0;
};

// Walks the folders below and including start, depth first in display
// order. A folder is written when it is checked or everything is exported;
// the sub-folders of a folder that is not written are still walked, so a
// checked folder below an unchecked one lands in the nearest written
// ancestor. Each written folder is listed before it is entered; one that
// cannot be listed is counted in result as unreadable. progress shows
// "Exporting From Folder: " and the name of each written folder, and its
// bar runs over the folders walked. Works without recursion, so any depth
// is safe.
void WalkExportedFolders(BookmarkTree& tree, bool exportAll, FolderVisitor& visitor,
                         ExportResult& result, ProgressSink& progress, std::int32_t start = 0);

} // namespace tellavin
