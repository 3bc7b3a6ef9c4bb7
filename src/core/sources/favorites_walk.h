#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// One entry of a Favorites directory.
struct FavoritesEntry {
    std::string name;
    bool isFolder = false;
    std::chrono::year_month_day date{};   // local date of the last write; zero when unknown
    std::optional<std::int64_t> modified; // the last write in seconds since 1970, when known
};

// The folders and links of one directory, in display order of their names;
// nothing when the directory cannot be opened. Every
// sub-directory is a folder; a regular file whose lower-cased name contains
// ".url" is a link; anything else is ignored. withDates false leaves every
// date zero and saves a look at each entry, for walks that show no dates.
std::optional<std::vector<FavoritesEntry>> ReadFavoritesDirectory(const std::string& path,
                                                                  bool withDates = true);

// A link's file name is a link name up to ".url": News.url and
// Report.url.txt are links named News and Report, notes.txt is no link.
bool IsLinkFileName(std::string_view fileName);
std::string LinkNameFromFileName(std::string_view fileName);

// What a walk of a Favorites tree reports, depth first.
class FavoritesVisitor {
public:
    virtual ~FavoritesVisitor() = default;
    // A folder is found; its contents follow. parentPath ends in the
    // separator.
    virtual void BeginFolder(const std::string& parentPath, const std::string& name) = 0;
    virtual void Link(const std::string& folderPath, const FavoritesEntry& entry) = 0;
    virtual void EndFolder() = 0;
};

// Walks everything below root (whose own folder is not reported) without
// recursion. Each directory is walked once, at the first path that reaches
// it: a symbolic link to a directory walked already (an ancestor, or one
// that other links lead to as well) is skipped, so link cycles cannot make
// the walk endless and links that meet again cannot multiply it.
// reportLinks false skips the links, for walks that need only folders. The
// links reported carry no dates (ReadFavoritesDirectory without them).
void WalkFavorites(const std::string& root, FavoritesVisitor& visitor, bool reportLinks = true);

} // namespace tellavin
