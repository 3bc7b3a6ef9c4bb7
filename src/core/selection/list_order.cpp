#include "selection/list_order.h"

#include "text/collation.h"

#include <algorithm>

namespace tellavin {

namespace {

// The folder's row indices, stably sorted by less, or by its reverse.
// Separator rows are left out: the list shows links and folders only.
template <typename Less>
std::vector<std::int32_t> SortedRows(const BookmarkTree& tree, std::int32_t folder,
                                     std::int32_t order, Less less) {
    auto rows = tree.Rows(folder);
    std::vector<std::int32_t> indices;
    indices.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].IsSeparator()) {
            indices.push_back(static_cast<std::int32_t>(i));
        }
    }
    std::stable_sort(indices.begin(), indices.end(), [&](std::int32_t a, std::int32_t b) {
        const auto& rowA = rows[static_cast<std::size_t>(a)];
        const auto& rowB = rows[static_cast<std::size_t>(b)];
        return order == kAscending ? less(rowA, rowB) : less(rowB, rowA);
    });
    return indices;
}

} // namespace

std::vector<std::int32_t> SortListByText(const BookmarkTree& tree, std::int32_t folder,
                                         std::int32_t column, std::int32_t order) {
    return SortedRows(tree, folder, order, [column](const EntryRecord& a, const EntryRecord& b) {
        if (a.IsLink() != b.IsLink()) {
            return !a.IsLink();
        }
        return column == kNameColumn ? DisplayNameLess(a.sName, b.sName)
                                     : DisplayNameLess(a.sURL, b.sURL);
    });
}

std::vector<std::int32_t> SortListByDate(const BookmarkTree& tree, std::int32_t folder,
                                         std::int32_t order) {
    return SortedRows(tree, folder, order, [](const EntryRecord& a, const EntryRecord& b) {
        if (a.IsLink() != b.IsLink()) {
            return a.IsLink();
        }
        return a.dDate < b.dDate;
    });
}

void ListSort::ClickHeader(std::int32_t column) {
    nSortOrder = nSortOrder == kAscending ? kDescending : kAscending;
    nSortColumn = column;
}

std::vector<std::int32_t> ListSort::Order(const BookmarkTree& tree, std::int32_t folder) const {
    return nSortColumn == kDateColumn ? SortListByDate(tree, folder, nSortOrder)
                                      : SortListByText(tree, folder, nSortColumn, nSortOrder);
}

} // namespace tellavin
