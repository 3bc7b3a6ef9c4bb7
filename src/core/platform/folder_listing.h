#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tellavin {

enum class ListedType { File, Folder, SymbolicLink, Other };

// One entry of a folder as the file system lists it.
struct ListedEntry {
    std::string name;
    ListedType type = ListedType::Other;   // the entry itself, a symbolic link not followed
    ListedType target = ListedType::Other; // what it leads to: a link followed; Other when
                                           // it leads nowhere
    std::optional<std::int64_t> modified;  // last write of what it leads to, in seconds
                                           // since 1970; only when asked for and known
};

// The entries of a folder, "." and ".." left out, in the file system's
// order; nothing when the folder cannot be listed. Paths of any length are
// listed (the C runtime's own listing on Windows stops at 260 characters).
// withTimes false saves a look at each entry where the listing itself does
// not tell the time.
std::optional<std::vector<ListedEntry>> ListFolder(const std::string& path, bool withTimes);

} // namespace tellavin
