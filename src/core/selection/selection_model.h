#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>
#include <span>

namespace tellavin {

// What the user checks in a loaded bookmark tree: folders (the node's
// Checked) and links (the row's bChecked). Every command keeps these facts
// true when it returns:
//   - nSelectedFolders counts the checked folders other than the root;
//   - nSelectedLinks counts the checked link rows;
//   - each folder's nCheckedLinks counts its checked link rows;
//   - an unchecked folder holds no checked link;
//   - a folder is Bold exactly when it, or a folder below it, holds a
//     checked link (each node also counts its Bold children, so that
//     unchecking does not search the siblings).
// A folder whose rows were never listed (a Favorites folder not yet opened)
// is listed before its links are checked. No command recurses, so a tree of
// any depth is safe.
class SelectionModel {
public:
    explicit SelectionModel(BookmarkTree& tree) : tree_(tree) {}

    // Checks or unchecks one folder and, with it, all of its links; its
    // sub-folders are left alone. Does nothing when the folder already is so.
    void SetFolderChecked(std::int32_t folder, bool checked);

    // The check box of one row of a folder's list. A link: checking it
    // checks its folder too, unchecking the folder's last checked link
    // unchecks the folder. A sub-folder row: as SetFolderChecked on it.
    void SetRowChecked(std::int32_t folder, std::int32_t row, bool checked);

    // SetRowChecked for several rows of one folder; rows already so are
    // skipped.
    void SetRowsChecked(std::int32_t folder, std::span<const std::int32_t> rows, bool checked);

    // The folder and every folder below it, depth first in display order.
    void SetFolderAndSubsChecked(std::int32_t folder, bool checked);

    // Every folder of the tree, the root included.
    void SetAllFoldersChecked(bool checked);

    // A row's check mark as the list shows it: a link's own, a sub-folder
    // row's that of its folder.
    bool IsRowChecked(std::int32_t folder, std::int32_t row) const;

private:
    // Gives every link of the folder the node's check mark and counts the
    // folder; then brings the Bold marks up to date.
    void ApplyFolderCheck(std::int32_t folder);
    // Marks the folder and its ancestors Bold after a link was checked, or
    // clears the marks that no checked link below supports any longer.
    void RefreshBold(std::int32_t folder, bool checked);
    void SetBold(std::int32_t folder, bool bold);
    void SetLinkChecked(std::int32_t folder, EntryRecord& link, bool checked);

    BookmarkTree& tree_;
};

} // namespace tellavin
