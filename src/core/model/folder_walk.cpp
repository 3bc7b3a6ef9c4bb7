#include "model/folder_walk.h"

#include <vector>

namespace tellavin {

namespace {

// One open folder of the walk; next counts its children (display order) or
// its rows (source order) taken so far.
struct Frame {
    std::int32_t folder;
    std::size_t next;
    bool written;
    bool byRows;
};

void NoteDroppedSeparators(const BookmarkTree& tree, std::int32_t folder, ExportResult& result) {
    for (const auto& row : tree.Rows(folder)) {
        if (row.IsSeparator()) {
            result.losses.Note(LossKind::SeparatorDropped, FolderInReport(tree, folder));
        }
    }
}

// Notes a trash folder and every folder and link inside it as skipped.
void NoteSkippedTrash(BookmarkTree& tree, std::int32_t trash, ExportResult& result) {
    std::vector<std::int32_t> pending{trash};
    while (!pending.empty()) {
        auto folder = pending.back();
        pending.pop_back();
        result.losses.Note(LossKind::TrashSkipped, FolderInReport(tree, folder));
        if (tree.EnsureListed(folder)) {
            for (const auto& row : tree.Rows(folder)) {
                if (row.IsLink()) {
                    result.losses.Note(LossKind::TrashSkipped, std::string(row.sName));
                }
            }
        }
        const auto& children = tree.Node(folder).children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

} // namespace

std::string FolderInReport(const BookmarkTree& tree, std::int32_t folder) {
    if (folder == 0) {
        return "top level";
    }
    return tree.FullPath(folder).substr(tree.Node(0).Text.size() + 1);
}

WalkOrder OrderToWalk(const BookmarkTree& tree, bool keepOrder) {
    return keepOrder && tree.Source() != StoreKind::Favorites ? WalkOrder::Source
                                                              : WalkOrder::Display;
}

void WalkExportedFolders(BookmarkTree& tree, bool exportAll, FolderVisitor& visitor,
                         ExportResult& result, ProgressSink& progress, WalkOptions options) {
    if (!tree.HasRoot()) {
        return;
    }
    const auto start = options.start;
    const bool sourceOrder =
        OrderToWalk(tree, options.order == WalkOrder::Source) == WalkOrder::Source;
    progress.SetRange(0, tree.NodeCount());
    std::int32_t walked = 0;
    auto open = [&](std::int32_t folder) {
        bool written = exportAll || tree.Node(folder).Checked;
        progress.SetValue(++walked);
        if (written) {
            progress.SetStatusText("Exporting From Folder: " + tree.Node(folder).Text);
            if (!tree.EnsureListed(folder)) {
                result.FolderUnreadable(tree.FolderPath(folder));
            } else if (!sourceOrder) {
                NoteDroppedSeparators(tree, folder, result);
            }
            visitor.Enter(folder, folder == start);
        }
        // A folder that is not written is walked by its rows too when they
        // are at hand, so the checked folders inside keep their places.
        bool byRows = sourceOrder && tree.FolderTable.at(folder).bListed;
        return Frame{folder, 0, written, byRows};
    };
    // The trash is left out whole, before it would be opened.
    auto skipped = [&](std::int32_t folder) {
        if (options.withTrash || !tree.FolderTable.at(folder).bTrash) {
            return false;
        }
        NoteSkippedTrash(tree, folder, result);
        return true;
    };
    std::vector<Frame> stack{open(start)};
    while (!stack.empty()) {
        if (!options.runsToEnd && progress.Cancelled()) {
            return;
        }
        auto& frame = stack.back();
        if (frame.byRows) {
            // Rows are looked up by place each time: listing a folder may
            // move the EntryTable.
            auto rows = tree.Rows(frame.folder);
            if (frame.next < rows.size()) {
                const auto& row = rows[frame.next++];
                if (row.IsFolder()) {
                    auto child = row.nFolder;
                    if (!skipped(child)) {
                        stack.push_back(open(child));
                    }
                } else if (frame.written && (row.IsSeparator() || exportAll || row.bChecked)) {
                    visitor.Row(frame.folder, row);
                }
                continue;
            }
        } else {
            const auto& children = tree.Node(frame.folder).children;
            if (frame.next < children.size()) {
                auto child = children[frame.next++];
                if (!skipped(child)) {
                    stack.push_back(open(child));
                }
                continue;
            }
        }
        if (frame.written) {
            visitor.Leave(frame.folder, frame.folder == start);
        }
        stack.pop_back();
    }
}

} // namespace tellavin
