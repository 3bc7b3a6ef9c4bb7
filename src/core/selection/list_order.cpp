#include "selection/list_order.h"

#include "text/collation.h"

#include <algorithm>
#include <numeric>

namespace tellavin {

namespace {

// The folder's row indices, stably sorted by less, or by its reverse.
template <typename Less>
std::vector<std::int32_t> SortedRows(const BookmarkTree& tree, std::int32_t folder,
                                     std::int32_t order, Less less) {
    auto rows = tree.Rows(folder);
    std::vector<std::int32_t> indices(rows.size());
    std::iota(indices.begin(), indices.end(), 0);
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
