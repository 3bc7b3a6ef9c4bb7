#include "support/ordered_tree.h"

#include <vector>

namespace tellavin::test {

namespace {

std::string LinkText(const EntryRecord& row, bool withChanged) {
    auto text = std::string(row.sName) + "=" + std::string(row.sURL);
    auto changed = withChanged ? row.nChanged : 0;
    if (row.nCreated != 0 || changed != 0) {
        text += "{" + std::to_string(row.nCreated) + "/" + std::to_string(changed) + "}";
    }
    return text;
}

} // namespace

std::string OrderedTreeText(BookmarkTree& tree, bool withChanged) {
    std::string text = "root[";
    struct Frame {
        std::int32_t folder;
        std::size_t next;
    };
    std::vector<Frame> open{{0, 0}};
    tree.EnsureListed(0);
    while (!open.empty()) {
        auto& frame = open.back();
        auto rows = tree.Rows(frame.folder);
        if (frame.next == rows.size()) {
            text += " ]";
            open.pop_back();
            continue;
        }
        const auto& row = rows[frame.next++];
        if (row.IsSeparator()) {
            text += " ---";
        } else if (row.IsLink()) {
            text += " " + LinkText(row, withChanged);
        } else {
            auto child = row.nFolder;
            text +=
                " " + tree.Node(child).Text + (tree.FolderTable.at(child).bToolbar ? "*[" : "[");
            tree.EnsureListed(child);
            open.push_back({child, 0});
        }
    }
    return text;
}

} // namespace tellavin::test
