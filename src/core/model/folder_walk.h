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
    // Walks in the source's order only: an exported link or a separator of
    // a written folder, at its place among the folder's sub-folders.
    virtual void Row(std::int32_t folder, const EntryRecord& row) {
        (void)folder;
        (void)row;
    }
};

// The order a walk takes a folder's contents in.
enum class WalkOrder {
    // Sub-folders in display order; writers add the links themselves
    // (GetFolderLinks) and have no place for separators, so each separator
    // of a written folder is noted as dropped.
    Display,
    // The rows as the source holds them: sub-folders, links and separators
    // interleaved, the links reported through FolderVisitor::Row. A
    // Favorites tree has no order of its own and is walked in display order.
    Source,
};

// Walks the folders below and including start, depth first in display
// order. A trash folder (FolderRecord::bTrash) is not walked unless asked
// for: it and each folder and link in it are noted in result's losses as
// skipped. A folder is written
// when it is checked or everything is exported;
// the sub-folders of a folder that is not written are still walked, so a
// checked folder below an unchecked one lands in the nearest written
// ancestor. Each written folder is listed before it is entered; one that
// cannot be listed is counted in result as unreadable. progress shows
// "Exporting From Folder: " and the name of each written folder, and its
// bar runs over the folders walked. The walk stops where it is once
// progress is cancelled, unless asked to run to its end. Works without
// recursion, so any depth is safe.
// The order a writer asked to keep the source's order (or not) walks this
// tree in: a Favorites tree has no order of its own.
WalkOrder OrderToWalk(const BookmarkTree& tree, bool keepOrder);

// How a loss report names a folder: its path below the root, or "top
// level" for the root, whose name each store gives its own way.
std::string FolderInReport(const BookmarkTree& tree, std::int32_t folder);

struct WalkOptions {
    std::int32_t start = 0; // the folder the walk begins at
    WalkOrder order = WalkOrder::Display;
    bool withTrash = false; // walk the trash too (to show the whole tree, not to export)
    // For writers that write as they walk, whose export stopped half way
    // would be half written: a cancel does not stop the walk.
    bool runsToEnd = false;
};

void WalkExportedFolders(BookmarkTree& tree, bool exportAll, FolderVisitor& visitor,
                         ExportResult& result, ProgressSink& progress, WalkOptions options = {});

} // namespace tellavin
