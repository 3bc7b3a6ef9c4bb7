#pragma once

#include "model/bookmark_tree.h"
#include "model/progress.h"
#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tellavin {

// The message shown when the Favorites folder cannot be found.
// The Favorites folder whose links the browser shows as its toolbar; a
// tree built from the Favorites marks it (FolderRecord::bToolbar).
inline constexpr const char* kFavoritesToolbarName = "Links";

inline constexpr const char* kAutoLocateFailedTitle = "Unable to Autolocate IE Folder";
inline constexpr const char* kAutoLocateFailedText =
    "Unable to AutoLocate the Internet Explorer Favorites Folder.\r\nPlease Insert It Manually.";

// Counts the folders and links of a Favorites folder before any selection.
class cFastScanning {
public:
    // Raised once per folder, before its contents are counted, with the
    // parent path (ending in the separator) and the folder's name.
    std::function<void(const std::string& parentPath, const std::string& name)> FolderScan;

    // The folder counted; empty until a count has completed.
    std::string sFavFolder() const { return completed_ ? favFolder_ : std::string(); }
    void set_sFavFolder(std::string folder) { favFolder_ = std::move(folder); }

    // Asks the platform for the current user's Favorites folder and keeps the
    // answer in sFavFolder; nothing when there is none (the caller shows the
    // "Unable to AutoLocate" message).
    std::optional<std::string> GetFolderPath(const Platform& platform);

    // Counts below folder, or below sFavFolder when folder is empty, or below
    // the platform's Favorites folder when both are empty.
    void Scan(const std::string& folder = {}, const Platform& platform = SystemPlatform());

    std::int32_t nFolder() const { return completed_ ? folders_ : -1; }
    std::int32_t nLink() const { return completed_ ? links_ : -1; }

private:
    std::string favFolder_;
    std::int32_t folders_ = 0;
    std::int32_t links_ = 0;
    bool completed_ = false;
};

// Builds the folder tree of a Favorites folder: the root "My Favorites" and
// one node per directory below it. Rows are listed later, folder by folder,
// through the tree's EnsureListed; a link's change date is its file's last
// write. The top-level Links folder is marked as the toolbar. Returns false,
// leaving the tree empty, when the path is empty.
bool BuildFavoritesTree(BookmarkTree& tree, const std::string& favoritesFolder,
                        ProgressSink* progress = nullptr);

// Appends the rows of one Favorites folder to the EntryTable: its
// sub-folders and its links with their addresses and dates, and, when the
// tree keeps icons, the image the link's IconFile names (ReadIconFile) when
// its IconIndex is 0 or absent, or the web address it names; when it does
// not, each IconFile is noted as a dropped icon. A folder that cannot be opened stays
// unlisted and is tried again next time.
bool ListFolderEntries(BookmarkTree& tree, std::int32_t folder);

} // namespace tellavin
