#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>
#include <vector>

namespace tellavin {

class BookmarkTree;
class ImageList;

// The rows of one listed folder as the list view shows them, in a given
// order: the name with the row's picture and check box, the address and
// the date in the system's short format. A sub-folder row shows the check
// mark and Bold mark of its folder. The address is every cell's tool tip.
//
// A user's click on a check box goes to onCheck with the row's index in
// the folder; the command's changes come back through ShowChecksChanged.
class FolderRowsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    FolderRowsModel(BookmarkTree& tree, const ImageList& images, QObject* parent = nullptr);

    std::function<void(std::int32_t row, bool checked)> onCheck;

    // Lists a folder's rows in order (indices into the folder's rows); a
    // folder of -1 empties the list.
    void ShowFolder(std::int32_t folder, std::vector<std::int32_t> order);
    // Shows the rows of the same folder in a new order.
    void ShowOrder(std::vector<std::int32_t> order);
    // Shows the check and Bold marks of every row anew.
    void ShowChecksChanged();
    // Puts the sort mark (1 ascending, 2 descending) on a column, from 1.
    void ShowSortMark(std::int32_t column, std::int32_t markImage);

    std::int32_t Folder() const { return folder_; }
    // The folder's row shown in a view row.
    std::int32_t RowAt(int viewRow) const { return order_.at(static_cast<std::size_t>(viewRow)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool IsChecked(std::int32_t row) const;
    bool IsBold(std::int32_t row) const;

    BookmarkTree& tree_;
    const ImageList& images_;
    std::int32_t folder_ = -1;
    std::vector<std::int32_t> order_;
    std::int32_t markedColumn_ = 1;
    std::int32_t markImage_ = 1;
};

} // namespace tellavin
