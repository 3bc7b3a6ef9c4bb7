#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>
#include <vector>

namespace tellavin {

// The columns of a folder's list, numbered from 1 as the header shows them.
inline constexpr std::int32_t kNameColumn = 1;
inline constexpr std::int32_t kUrlColumn = 2;
inline constexpr std::int32_t kDateColumn = 3;

inline constexpr std::int32_t kAscending = 0;
inline constexpr std::int32_t kDescending = 1;

// The order in which the list shows a listed folder's rows, as indices into
// Rows(folder); separator rows are not shown. By text (the name for column 1, the address
// otherwise), ignoring case as the tree's names do: sub-folder rows come before the links in
// ascending order. Rows with equal keys keep their stored order.
std::vector<std::int32_t> SortListByText(const BookmarkTree& tree, std::int32_t folder,
                                         std::int32_t column, std::int32_t order);
// By date: the sub-folder rows come after the links in ascending order,
// each group from the oldest date on; rows without a date come first.
std::vector<std::int32_t> SortListByDate(const BookmarkTree& tree, std::int32_t folder,
                                         std::int32_t order);

// The list's sort: the column and order the next listing uses; that
// column's header shows the sort mark. It starts ascending by name.
struct ListSort {
    std::int32_t nSortColumn = kNameColumn;
    std::int32_t nSortOrder = kAscending;

    // A click on a column header flips the order, whichever column it hits,
    // and sorts by that column from now on.
    void ClickHeader(std::int32_t column);
    // The mark of the sorted column: image 1 ascending, 2 descending.
    std::int32_t MarkImage() const { return nSortOrder == kAscending ? 1 : 2; }
    // The folder's rows in this sort.
    std::vector<std::int32_t> Order(const BookmarkTree& tree, std::int32_t folder) const;
};

} // namespace tellavin
