#pragma once

#include "platform/folder_listing.h"
#include "targets/link_stems.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tellavin {

// What the Favorites writer knows of one directory it writes into: the
// entries the disk held when the export first came in, found by name
// without regard to letter case as Windows finds them, the link names the
// export has given there, and the same for each sub-directory it entered.
class FavoritesDirectory {
public:
    struct Entry {
        std::string name;
        ListedType type = ListedType::Other; // a symbolic link not followed
    };

    // Lists the directory at path, after removing the temporary files that
    // writes cut short left there (RemoveStaleTemporaryFiles); one that
    // cannot be listed holds nothing.
    explicit FavoritesDirectory(const std::string& path);

    // The entry named name, or else the first by name of those whose names
    // differ from it only in letter case; a symbolic link is not followed.
    std::optional<Entry> Find(const std::string& name) const;

    // The export's knowledge of the sub-directory name (as it is on the
    // disk), at path; listed when first asked for.
    FavoritesDirectory& Child(const std::string& name, const std::string& path);

    LinkStems& Stems() { return stems_; }

    // Whether a shortcut the directory held when the export came in points
    // at the address, compared as NormalizedAddress compares them. The
    // shortcuts are read when first asked, before the export writes any
    // link here.
    bool HeldAddress(std::string_view address);

    // The directory name a folder of the export takes here: name, or when
    // another folder of the export took it (in any letter case) name
    // numbered "(2)", "(3)"..., so that no two folders of the export share
    // a directory. An existing directory of the name is still used.
    std::string TakeFolderName(const std::string& name);

private:
    std::string path_;
    std::optional<std::unordered_set<std::string>> addresses_; // normalized, once read
    std::map<std::string, ListedType> entries_;                // by exact name
    std::unordered_map<std::string, std::string> folded_;      // folded name -> first exact name
    std::unordered_map<std::string, std::unique_ptr<FavoritesDirectory>> children_;
    LinkStems stems_;
    std::unordered_map<std::string, std::int32_t>
        folderNumbers_; // folded name taken -> next number
};

} // namespace tellavin
