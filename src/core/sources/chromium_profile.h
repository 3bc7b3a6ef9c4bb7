#pragma once

#include <optional>
#include <string>

namespace tellavin {

// The file names a Chromium-family profile folder keeps its bookmarks in:
// the profile's own store, the store of the signed-in account's bookmarks,
// and the encrypted copy newer versions keep beside each.
inline constexpr const char* kChromiumBookmarksFile = "Bookmarks";
inline constexpr const char* kChromiumAccountBookmarksFile = "AccountBookmarks";
inline constexpr const char* kChromiumEncryptedBookmarksFile = "EncryptedBookmarks2";
inline constexpr const char* kChromiumEncryptedAccountBookmarksFile = "EncryptedAccountBookmarks2";

// Which file of a profile holds the bookmarks an export adds to.
struct ChromiumProfileFiles {
    std::string profileFolder;
    std::string bookmarksFile;     // may not exist yet: the browser reads it once made
    bool accountStore = false;     // the account's store: sync may change what it holds
    bool hasEncryptedCopy = false; // the encrypted copy of bookmarksFile lies beside it
};

// The store of a profile folder, or of the file given. For a folder:
// "Bookmarks" when it exists; else "AccountBookmarks" when it exists and
// holds roots (the browser makes one whose "roots" object is empty in a
// profile never signed in, which is not the store); else "Bookmarks", to
// be made. A path that is no folder is the store as given, its folder the
// profile folder. The encrypted copy is "EncryptedBookmarks2" beside
// "Bookmarks", "EncryptedAccountBookmarks2" beside "AccountBookmarks".
ChromiumProfileFiles ChromiumBookmarksOf(const std::string& path);

// Whether a browser runs on the profile now (ChromiumHoldsUserData on its
// user-data folder, the folder above it): nothing when that cannot be
// told.
std::optional<bool> ChromiumRunsOnProfile(const std::string& profileFolder);

} // namespace tellavin
