#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

struct LinkItem {
    std::string name;
    std::string url;
    std::int64_t created = 0; // seconds since 1970 UTC; 0 when unknown
    std::int64_t changed = 0;
    std::string description{}; // LinkDetails, empty when the link has none
    std::string keyword{};
    std::string tags{};
};

// A link row of the tree as the item a writer writes.
LinkItem LinkItemOf(const BookmarkTree& tree, const EntryRecord& row);

// The links of one folder that are to be exported, sorted by SortLinks:
// the folder's link rows (not its sub-folder rows) that are checked, or all
// of them when everything is exported. The folder must be listed.
std::vector<LinkItem> GetFolderLinks(const BookmarkTree& tree, std::int32_t folder, bool exportAll);

// The same links in the same order as the tree's own rows, by their place
// in the EntryTable, so that a writer copies no name or address.
std::vector<std::int32_t> GetFolderLinkRows(const BookmarkTree& tree, std::int32_t folder,
                                            bool exportAll);

// Sorts links[0..hi] in place by lower-cased name: a shell sort with
// Knuth's gaps (1, 4, 13, 40, ...), comparing the lower-cased names as
// UTF-16 code units. It is not stable, and equal names come out in exactly
// the order this procedure gives, so every writer orders them alike.
void SortLinks(std::vector<LinkItem>& links, std::int32_t hi, bool descending = false);

// The lower-case form SortLinks compares: every letter of the Latin, Greek
// and Cyrillic alphabets lowered, as UTF-16 code units.
std::u16string LinkSortKey(std::string_view name);

} // namespace tellavin
