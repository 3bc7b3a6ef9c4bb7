#include "model/folder_walk.h"

#include <vector>

namespace tellavin {

void WalkExportedFolders(BookmarkTree& tree, bool exportAll, FolderVisitor& visitor,
                         ExportResult& result, ProgressSink& progress, std::int32_t start) {
    if (!tree.HasRoot()) {
        return;
    }
    progress.SetRange(0, tree.NodeCount());
    std::int32_t walked = 0;
    struct Frame {
        std::int32_t folder;
        std::size_t nextChild;
        bool written;
    };
    auto open = [&](std::int32_t folder) {
        bool written = exportAll || tree.Node(folder).Checked;
        progress.SetValue(++walked);
        if (written) {
            progress.SetStatusText("Exporting From Folder: " + tree.Node(folder).Text);
            if (!tree.EnsureListed(folder)) {
                result.FolderUnreadable(tree.FolderPath(folder));
            }
            visitor.Enter(folder, folder == start);
        }
        return Frame{folder, 0, written};
    };
    std::vector<Frame> stack{open(start)};
    while (!stack.empty()) {
        auto& frame = stack.back();
        const auto& children = tree.Node(frame.folder).children;
        if (frame.nextChild < children.size()) {
            auto child = children[frame.nextChild++];
            stack.push_back(open(child));
            continue;
        }
        if (frame.written) {
            visitor.Leave(frame.folder, frame.folder == start);
        }
        stack.pop_back();
    }
}

} // namespace tellavin
