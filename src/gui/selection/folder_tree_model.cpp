#include "gui/selection/folder_tree_model.h"

#include "gui/selection/image_list.h"
#include "model/bookmark_tree.h"

#include <QFont>

namespace tellavin {

namespace {

// Beyond this many ancestors one repaint of the whole view is cheaper than
// one change signal per node.
constexpr int kMostSingleChanges = 64;

} // namespace

FolderTreeModel::FolderTreeModel(BookmarkTree& tree, const ImageList& images, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree), images_(images) {}

void FolderTreeModel::Reload() {
    beginResetModel();
    filtered_ = false;
    shownChildren_.clear();
    shownRow_.clear();
    endResetModel();
}

void FolderTreeModel::ShowChanged(std::int32_t node) {
    int changes = 0;
    for (auto at = node; at >= 0; at = tree_.Parent(at)) {
        if (++changes > kMostSingleChanges) {
            ShowAllChanged();
            return;
        }
        auto shown = IndexOf(at);
        if (shown.isValid()) {
            emit dataChanged(shown, shown, {Qt::CheckStateRole, Qt::FontRole});
        }
    }
}

void FolderTreeModel::ShowAllChanged() {
    // The items stay where they are; the views lay out and repaint what
    // they show.
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

void FolderTreeModel::ShowOnly(const std::vector<bool>& shown) {
    beginResetModel();
    filtered_ = true;
    const auto count = static_cast<std::size_t>(tree_.NodeCount());
    shownChildren_.assign(count, {});
    shownRow_.assign(count, -1);
    for (std::size_t node = 0; node < shown.size() && node < count; ++node) {
        if (!shown[node]) {
            continue;
        }
        auto& children = shownChildren_[node];
        for (auto child : tree_.Node(static_cast<std::int32_t>(node)).children) {
            if (shown[static_cast<std::size_t>(child)]) {
                shownRow_[static_cast<std::size_t>(child)] =
                    static_cast<std::int32_t>(children.size());
                children.push_back(child);
            }
        }
    }
    if (!shown.empty() && shown[0]) {
        shownRow_[0] = 0;
    }
    endResetModel();
}

bool FolderTreeModel::IsShown(std::int32_t node) const {
    if (node < 0 || node >= tree_.NodeCount()) {
        return false;
    }
    return !filtered_ || shownRow_[static_cast<std::size_t>(node)] >= 0;
}

std::int32_t FolderTreeModel::ShownChildCount(std::int32_t node) const {
    return filtered_
               ? static_cast<std::int32_t>(shownChildren_[static_cast<std::size_t>(node)].size())
               : tree_.Children(node);
}

std::int32_t FolderTreeModel::ShownChild(std::int32_t node, int row) const {
    const auto at = static_cast<std::size_t>(row);
    return filtered_ ? shownChildren_[static_cast<std::size_t>(node)][at]
                     : tree_.Node(node).children[at];
}

QModelIndex FolderTreeModel::IndexOf(std::int32_t node) const {
    if (!IsShown(node)) {
        return {};
    }
    const auto row = filtered_ ? shownRow_[static_cast<std::size_t>(node)]
                               : (node == 0 ? 0 : tree_.Node(node).siblingIndex);
    return createIndex(row, 0, static_cast<quintptr>(node));
}

std::int32_t FolderTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<std::int32_t>(index.internalId()) : -1;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return IndexOf(0);
    }
    return IndexOf(ShownChild(NodeOf(parent), row));
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    return child.isValid() ? IndexOf(tree_.Parent(NodeOf(child))) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return IsShown(0) ? 1 : 0;
    }
    return parent.column() == 0 ? ShownChildCount(NodeOf(parent)) : 0;
}

int FolderTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const auto& node = tree_.Node(NodeOf(index));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(node.Text);
    case Qt::DecorationRole:
        return images_.FolderIcon(node.Image);
    case Qt::CheckStateRole:
        return CheckStateOf(NodeOf(index));
    case Qt::FontRole: {
        if (!node.Bold) {
            return {};
        }
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::AccessibleDescriptionRole: {
        const auto state = CheckStateOf(NodeOf(index));
        return QString(state == Qt::Checked            ? "checked"
                       : state == Qt::PartiallyChecked ? "partly checked"
                                                       : "not checked") +
               (node.Bold ? ", holds checked links" : "");
    }
    default:
        return {};
    }
}

Qt::CheckState FolderTreeModel::CheckStateOf(std::int32_t folder) const {
    if (!tree_.Node(folder).Checked) {
        return Qt::Unchecked;
    }
    // Counting the folder's links stops at the first one beyond its
    // checked ones.
    const auto checkedLinks = tree_.FolderTable[static_cast<std::size_t>(folder)].nCheckedLinks;
    if (checkedLinks == 0) {
        return Qt::Checked;
    }
    std::int32_t links = 0;
    for (const auto& row : tree_.Rows(folder)) {
        if (row.IsLink() && ++links > checkedLinks) {
            return Qt::PartiallyChecked;
        }
    }
    return Qt::Checked;
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole || !onCheck) {
        return false;
    }
    onCheck(NodeOf(index), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace tellavin
