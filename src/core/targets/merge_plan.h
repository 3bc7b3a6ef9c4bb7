#pragma once

#include "model/bookmark_tree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tellavin {

// An address as a browser tells addresses apart: the scheme and the host in
// lower case, the scheme's default port dropped (80 for http and ws, 443 for
// https and wss, 21 for ftp), and an empty path after the host written as
// "/". Nothing else changes: the user part, the path, the query and the
// fragment stay as they are.
std::string NormalizedAddress(std::string_view address);

// Whether a folder name of the export names a given folder of the target,
// as the target's store compares names.
using SameFolderName = std::function<bool(std::string_view exportName, std::string_view target)>;

// How an export goes into a store that already holds bookmarks: which of
// the export's written folders join a folder of the target (the same path
// of names below the place the export goes), and which of its links are
// there already (an address equal after NormalizedAddress to a link's in
// the joined folder). Writers of every mergeable store take one: they
// write a joined folder's new content inside the target's folder instead
// of a heading of their own, and leave out the links already there.
class MergePlan {
public:
    // The place the export goes, in the target's tree: the folder its top
    // level joins (the root, or the existing folder of the new folder's
    // name), or -1 when it goes into a folder made now, so nothing joins.
    struct Start {
        std::int32_t folder = 0;
        bool exportAll = true; // as the writer walks the export
    };

    // A plan that joins nothing and skips nothing (the duplicates kept).
    MergePlan() = default;

    // Walks the export as the writers do (WalkExportedFolders) and matches
    // each written folder with a sub-folder of the folder its nearest
    // written ancestor joined. canJoin leaves out target folders a writer
    // cannot add to (a trash folder, a folder whose end it cannot find).
    MergePlan(BookmarkTree& exportTree, BookmarkTree& target, Start start,
              const SameFolderName& sameName, const std::function<bool(std::int32_t)>& canJoin);

    // The target folder an export folder joins, or -1 when it is written as
    // a new folder. The export's root joins the start folder (when it can)
    // whether or not the root is written.
    std::int32_t JoinOf(std::int32_t exportFolder) const;
    // A link of the export folder whose address a link of the joined
    // folder has already.
    bool AlreadyThere(std::int32_t exportFolder, std::string_view address) const;

private:
    std::vector<std::int32_t> joins_; // per node of the export
    std::unordered_map<std::int32_t, std::unordered_set<std::string>>
        addresses_; // per joined folder
};

// The direct sub-folder of parent in the tree named name, or -1.
std::int32_t FindSubfolder(BookmarkTree& tree, std::int32_t parent, std::string_view name,
                           const SameFolderName& sameName);

} // namespace tellavin
