#include "selection/selection_model.h"

#include <vector>

namespace tellavin {

namespace {

// Sets a folder's check mark and keeps the count of checked folders; the
// root never counts.
void MarkFolder(BookmarkTree& tree, std::int32_t folder, bool checked) {
    auto& node = tree.Node(folder);
    if (node.Checked == checked) {
        return;
    }
    node.Checked = checked;
    if (folder != 0) {
        tree.nSelectedFolders += checked ? 1 : -1;
    }
}

} // namespace

void SelectionModel::SetFolderChecked(std::int32_t folder, bool checked) {
    MarkFolder(tree_, folder, checked);
    ApplyFolderCheck(folder);
}

void SelectionModel::SetRowChecked(std::int32_t folder, std::int32_t row, bool checked) {
    auto& entry = tree_.Rows(folder)[static_cast<std::size_t>(row)];
    if (!entry.IsLink()) {
        SetFolderChecked(entry.nFolder, checked);
        return;
    }
    if (entry.bChecked == checked) {
        return;
    }
    SetLinkChecked(folder, entry, checked);
    // A checked link needs its folder checked; the folder's last link
    // unchecked leaves nothing to export in it.
    if (checked || tree_.FolderTable[static_cast<std::size_t>(folder)].nCheckedLinks == 0) {
        MarkFolder(tree_, folder, checked);
    }
    RefreshBold(folder, checked);
}

void SelectionModel::SetRowsChecked(std::int32_t folder, std::span<const std::int32_t> rows,
                                    bool checked) {
    for (auto row : rows) {
        if (IsRowChecked(folder, row) != checked) {
            SetRowChecked(folder, row, checked);
        }
    }
}

void SelectionModel::SetFolderAndSubsChecked(std::int32_t folder, bool checked) {
    // Depth first in display order, with the children pushed last to first.
    std::vector<std::int32_t> pending{folder};
    while (!pending.empty()) {
        auto at = pending.back();
        pending.pop_back();
        // Unchecked folders hold no checked links: unchecking leaves them be.
        if (checked || tree_.Node(at).Checked) {
            SetFolderChecked(at, checked);
        }
        const auto& children = tree_.Node(at).children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

void SelectionModel::SetAllFoldersChecked(bool checked) {
    for (std::int32_t folder = 0; folder < tree_.NodeCount(); ++folder) {
        SetFolderChecked(folder, checked);
    }
}

bool SelectionModel::IsRowChecked(std::int32_t folder, std::int32_t row) const {
    const auto& entry = tree_.Rows(folder)[static_cast<std::size_t>(row)];
    return entry.IsLink() ? entry.bChecked : tree_.Node(entry.nFolder).Checked;
}

void SelectionModel::ApplyFolderCheck(std::int32_t folder) {
    const bool checked = tree_.Node(folder).Checked;
    // A folder never listed has no checked links to clear; one being
    // checked is listed so that its links can be checked.
    if (checked) {
        tree_.EnsureListed(folder);
    }
    if (tree_.FolderTable[static_cast<std::size_t>(folder)].bListed) {
        for (auto& entry : tree_.Rows(folder)) {
            if (entry.IsLink() && entry.bChecked != checked) {
                SetLinkChecked(folder, entry, checked);
            }
        }
    }
    RefreshBold(folder, checked);
}

void SelectionModel::RefreshBold(std::int32_t folder, bool checked) {
    if (checked) {
        // Every ancestor of a Bold node is Bold already: stop at the first.
        for (auto at = folder;
             at >= 0 && !tree_.Node(at).Bold &&
             tree_.FolderTable[static_cast<std::size_t>(folder)].nCheckedLinks > 0;
             at = tree_.Parent(at)) {
            SetBold(at, true);
        }
        return;
    }
    for (auto at = folder; at >= 0; at = tree_.Parent(at)) {
        const auto& node = tree_.Node(at);
        if (!node.Bold || node.boldChildren > 0 ||
            tree_.FolderTable[static_cast<std::size_t>(at)].nCheckedLinks > 0) {
            return;
        }
        SetBold(at, false);
    }
}

void SelectionModel::SetBold(std::int32_t folder, bool bold) {
    auto& node = tree_.Node(folder);
    node.Bold = bold;
    if (node.Parent >= 0) {
        tree_.Node(node.Parent).boldChildren += bold ? 1 : -1;
    }
}

void SelectionModel::SetLinkChecked(std::int32_t folder, EntryRecord& link, bool checked) {
    link.bChecked = checked;
    const std::int32_t step = checked ? 1 : -1;
    tree_.FolderTable[static_cast<std::size_t>(folder)].nCheckedLinks += step;
    tree_.nSelectedLinks += step;
}

} // namespace tellavin
