#pragma once

#include "model/bookmark_tree.h"
#include "model/progress.h"
#include "selection/selection_model.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// A folder that a search found, with the links of it that it found.
struct FoundFolder {
    std::int32_t folder = 0;
    // The folder's own name holds the text: every link of it counts as found.
    bool byName = false;
    std::vector<std::int32_t> rows; // the found link rows, as indices into Rows(folder)
};

// What a search found in a tree.
struct SearchResult {
    std::vector<FoundFolder> folders; // in the order of their node indices
    // Per node: found, or above a found folder, so that the tree filtered to
    // the finds keeps its shape; empty when nothing was found.
    std::vector<bool> shown;
    std::int32_t links = 0; // found links in all

    bool Empty() const { return folders.empty(); }
    // The find of a folder; nullptr when the search found nothing in it.
    const FoundFolder* Of(std::int32_t folder) const;
    bool IsShown(std::int32_t folder) const {
        return folder >= 0 && static_cast<std::size_t>(folder) < shown.size() &&
               shown[static_cast<std::size_t>(folder)];
    }
};

// Finds the folders whose names, and the links whose names or addresses,
// hold a text, ignoring case and accents (search_folding.h).
//
// Every name and address is folded once, when the filter is made, into one
// block of text, each followed by a NUL, with the place where each begins:
// a search is then one pass over that block, however many times the user
// types. The block costs about as many bytes as the names and addresses
// themselves, and the places 8 bytes per folder and per row.
//
// The folders searched are listed first (a Favorites folder never opened is
// read then), the progress bar running over the folders; their rows must not change
// while the filter is in use.
class SelectionFilter {
public:
    // Searches the folders within holds and every folder below them; the
    // whole tree when within is empty. Works without recursion.
    SelectionFilter(BookmarkTree& tree, std::span<const std::int32_t> within,
                    ProgressSink& progress);

    // The folders and links that hold text; nothing for a text that folds to
    // nothing.
    SearchResult Find(std::string_view text) const;

    // The bytes the folded texts and their places take.
    std::size_t MemoryBytes() const;

private:
    void AddFolder(std::int32_t folder);

    const BookmarkTree& tree_;
    std::string folded_;
    std::vector<std::size_t> starts_; // each text's first byte in folded_, and the end
    // The folders searched, in node order, and where the texts of each begin
    // in starts_: its name, then a text per row (empty for a row that is no
    // link), then the next folder's.
    std::vector<std::int32_t> folders_;
    std::vector<std::size_t> firstText_;
};

// Of a folder's rows in list order, those a filtered list shows: the
// sub-folders the filtered tree shows and the links found.
std::vector<std::int32_t> FoundRows(const BookmarkTree& tree, const SearchResult& found,
                                    std::int32_t folder, std::vector<std::int32_t> order);

// Checks everything found: a folder found by its name with all its links, the
// links found in other folders one by one, which checks their folders too.
void CheckFound(SelectionModel& selection, const SearchResult& found);

} // namespace tellavin
