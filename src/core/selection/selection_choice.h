#pragma once

#include "model/bookmark_tree.h"
#include "model/outcome.h"
#include "model/progress.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// What of a store is exported when not everything is, as the command line
// chooses it: folders by their paths, each with everything under it, and a
// text that the names or addresses to export hold (as the selection
// window's Find searches), only inside those folders when some are given.
struct SelectionChoice {
    // Paths of folder names from the store's top, '/' between the names
    // ("News/Tech"); an empty path is the top itself.
    std::vector<std::string> folders;
    std::string match;

    bool Empty() const { return folders.empty() && match.empty(); }
};

// The folder that a path of names leads to from the root, each name
// compared exactly, empty names skipped; -1 when there is none.
std::int32_t FolderAtPath(const BookmarkTree& tree, std::string_view path);

// What applying a choice gave: Done, FolderNotFound with the path, or
// NoMatch with the text.
struct ChoiceOutcome {
    OutcomeKind kind = OutcomeKind::Done;
    std::string subject;
};

// Checks in the tree what the choice chooses, after unchecking everything:
// each folder with every folder and link under it, or, with a match, the
// folders and links found in them (CheckFound). Folders are listed as the
// search needs them, with progress. Checks nothing when a path names no
// folder or the match finds nothing.
ChoiceOutcome ApplyChoice(BookmarkTree& tree, const SelectionChoice& choice,
                          ProgressSink& progress);

} // namespace tellavin
