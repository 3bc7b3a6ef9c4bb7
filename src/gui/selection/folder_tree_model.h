#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <functional>
#include <vector>

namespace tellavin {

class BookmarkTree;
class ImageList;

// The folder tree of a loaded bookmark tree, as the tree view shows it: the
// root as the only top-level item, each node's children in display order,
// with the node's check box, Bold mark and folder picture. A checked folder
// some of whose links are unchecked shows a partly checked box; a click on
// it checks the folder whole, all of its links. The view asks
// only for the items it lays out, so a tree of any size shows at once.
//
// A search narrows it to some folders (ShowOnly) and Reload widens it again.
//
// A user's click on a check box goes to onCheck, which runs the selection
// command; what the command changed is shown through ShowChanged, never fed
// back as if it had been clicked.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    FolderTreeModel(BookmarkTree& tree, const ImageList& images, QObject* parent = nullptr);

    std::function<void(std::int32_t node, bool checked)> onCheck;

    // Shows the whole tree as it now is, after it was built or emptied, or
    // after a search narrowed it.
    void Reload();
    // Shows the check marks and Bold marks of node and its ancestors anew.
    void ShowChanged(std::int32_t node);
    // Shows every mark anew, after a command over many folders.
    void ShowAllChanged();
    // Shows only the nodes whose flag is set (every node's parent must be
    // shown with it), or no node at all when shown is empty.
    void ShowOnly(const std::vector<bool>& shown);
    bool IsShown(std::int32_t node) const;

    QModelIndex IndexOf(std::int32_t node) const;
    // The node an index shows; -1 for none.
    std::int32_t NodeOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // What a node's children are as the view shows them: all of them, or
    // only the shown ones while filtered.
    std::int32_t ShownChildCount(std::int32_t node) const;
    std::int32_t ShownChild(std::int32_t node, int row) const;

    // Unchecked, checked, or checked with some of its links unchecked.
    Qt::CheckState CheckStateOf(std::int32_t folder) const;
    BookmarkTree& tree_;
    const ImageList& images_;
    bool filtered_ = false;
    std::vector<std::vector<std::int32_t>> shownChildren_; // per node, while filtered
    std::vector<std::int32_t> shownRow_; // place among the shown siblings; -1 when hidden
};

} // namespace tellavin
