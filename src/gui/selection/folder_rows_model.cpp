#include "gui/selection/folder_rows_model.h"

#include "gui/selection/image_list.h"
#include "gui/windows/tree_images.h"
#include "model/bookmark_tree.h"

#include <QDate>
#include <QFont>
#include <QLocale>

namespace tellavin {

namespace {

constexpr int kColumns = 3;

QString ColumnTitle(int section) {
    switch (section) {
    case 0:
        return QStringLiteral("Link Name");
    case 1:
        return QStringLiteral("URL");
    default:
        return QStringLiteral("Creation Date");
    }
}

QString ViewText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString DateText(std::chrono::year_month_day date) {
    if (!date.ok()) {
        return {}; // rows of bookmark files have no date
    }
    QDate shown(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                static_cast<int>(unsigned(date.day())));
    return QLocale::system().toString(shown, QLocale::ShortFormat);
}

} // namespace

FolderRowsModel::FolderRowsModel(BookmarkTree& tree, const ImageList& images, QObject* parent)
    : QAbstractTableModel(parent), tree_(tree), images_(images) {}

void FolderRowsModel::ShowFolder(std::int32_t folder, std::vector<std::int32_t> order) {
    beginResetModel();
    folder_ = folder;
    order_ = folder < 0 ? std::vector<std::int32_t>() : std::move(order);
    endResetModel();
}

void FolderRowsModel::ShowOrder(std::vector<std::int32_t> order) {
    emit layoutAboutToBeChanged();
    const auto before = persistentIndexList();
    // The order may leave rows out (separators), so the map spans all rows.
    std::vector<int> viewRowOf(tree_.Rows(folder_).size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        viewRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    QModelIndexList after;
    for (const auto& index : before) {
        after.append(
            this->index(viewRowOf[static_cast<std::size_t>(RowAt(index.row()))], index.column()));
    }
    order_ = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void FolderRowsModel::ShowChecksChanged() {
    if (!order_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0),
                         {Qt::CheckStateRole, Qt::FontRole, Qt::AccessibleDescriptionRole});
    }
}

void FolderRowsModel::ShowSortMark(std::int32_t column, std::int32_t markImage) {
    markedColumn_ = column;
    markImage_ = markImage;
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

int FolderRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int FolderRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

bool FolderRowsModel::IsChecked(std::int32_t row) const {
    const auto& entry = tree_.Rows(folder_)[static_cast<std::size_t>(row)];
    return entry.IsLink() ? entry.bChecked : tree_.Node(entry.nFolder).Checked;
}

bool FolderRowsModel::IsBold(std::int32_t row) const {
    const auto& entry = tree_.Rows(folder_)[static_cast<std::size_t>(row)];
    return !entry.IsLink() && tree_.Node(entry.nFolder).Bold;
}

QVariant FolderRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const auto row = RowAt(index.row());
    const auto& entry = tree_.Rows(folder_)[static_cast<std::size_t>(row)];
    const bool nameColumn = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        switch (index.column()) {
        case 0:
            return ViewText(entry.sName);
        case 1:
            return ViewText(entry.sURL);
        default:
            return DateText(entry.dDate);
        }
    case Qt::ToolTipRole:
        return ViewText(entry.sURL);
    case Qt::DecorationRole:
        return nameColumn ? QVariant(images_.Image(entry.nIcon)) : QVariant();
    case Qt::CheckStateRole:
        return nameColumn ? QVariant(IsChecked(row) ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::FontRole: {
        if (!IsBold(row)) {
            return {};
        }
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::AccessibleDescriptionRole:
        return nameColumn ? QString(IsChecked(row) ? "checked" : "not checked") : QString();
    default:
        return {};
    }
}

bool FolderRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole || !onCheck) {
        return false;
    }
    onCheck(RowAt(index.row()), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags FolderRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    auto flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 ? flags | Qt::ItemIsUserCheckable : flags;
}

QVariant FolderRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return ColumnTitle(section);
    }
    if (role == Qt::DecorationRole && section + 1 == markedColumn_) {
        return SortMark(markImage_ == 1);
    }
    return {};
}

} // namespace tellavin
