#pragma once

#include "model/conversion_path.h"
#include "model/progress.h"
#include "platform/platform.h"

#include <optional>
#include <string>
#include <vector>

namespace tellavin {

// Finding the browsers' own bookmark stores on this machine: every Firefox
// profile's places.sqlite and every Chromium-family profile's "Bookmarks"
// file. Like the rest of discovery it never fails its caller: whatever
// cannot be read adds nothing.

// A Chromium-family browser's user-data folder (ending in a separator),
// which holds one folder per profile and the "Local State" file naming them.
struct ChromiumDataFolder {
    std::string browser; // "Chromium", "Chrome", "Edge", "Brave", "Vivaldi"
    std::string folder;
};

// The user-data folders where Chromium, Chrome, Edge, Brave and Vivaldi keep
// their profiles on this system, in the order they are searched: on Linux
// the XDG configuration folder, then the snap and flatpak folders; on
// Windows the local application-data folder; on macOS Application Support.
std::vector<ChromiumDataFolder> ChromiumDataFolders(const Platform& platform);

// The "Bookmarks" file of every profile in a user-data folder, "Default"
// first and the others by folder name, labelled with the browser and the
// profile's name ("Chrome Work"): the name "Local State" gives the profile,
// else its folder's name.
std::vector<FoundStore> ChromiumProfiles(const ChromiumDataFolder& data);

// Which browser a profile folder belongs to and the profile's name, as
// messages name them. A Chromium-family profile belongs to the browser
// whose user-data folder (ChromiumDataFolders) holds it, to "Chromium" when
// none does, and is named as "Local State" names it, else by its folder's
// name; a Firefox profile is named as the profiles.ini beside it names it,
// else by its folder's name.
struct BrowserProfileIdentity {
    std::string browser;
    std::string profile;
};
BrowserProfileIdentity IdentifyBrowserProfile(StoreKind kind, const std::string& profileFolder,
                                              const Platform& platform);

// Every Firefox profile's places.sqlite (labelled "Firefox " and the
// profile's name) in the data folders of FirefoxDataFolders, then every
// Firefox profile's newest bookmark backup (FirefoxProfileBackup), then
// every Chromium-family profile's "Bookmarks" file; a folder reached twice
// (through a link) is searched once.
std::vector<FoundStore> LocateBrowserDatabases(const Platform& platform);

// The newest of the backups Firefox keeps in a profile folder's
// "bookmarkbackups" folder, "bookmarks-YYYY-MM-DD....jsonlz4" (or ".json"),
// by the date in its name and then by its last change, labelled "Firefox ",
// the profile's name and "(backup YYYY-MM-DD)"; nothing when there is none.
std::optional<FoundStore> FirefoxProfileBackup(const std::string& profileFolder,
                                               const std::string& profileName);

// Whether this program was built for macOS, where Safari keeps its store.
#if defined(__APPLE__)
inline constexpr bool kBuiltForMacOS = true;
#else
inline constexpr bool kBuiltForMacOS = false;
#endif

// Safari's store of the current user, ~/Library/Safari/Bookmarks.plist, when
// it exists and the system is macOS (macOS true), labelled "Safari";
// nothing on other systems, where Safari keeps none.
std::vector<FoundStore> LocateSafariBookmarks(const Platform& platform,
                                              bool macOS = kBuiltForMacOS);

// What a window offers as a Netscape-kind source: every Firefox profile's
// bookmarks.html (labelled with the profile's name), then every browser
// database (LocateBrowserDatabases), then Safari's store
// (LocateSafariBookmarks). The status shows
// kRetrievingBookmarkFilesStatus meanwhile and kReadyStatus after.
std::vector<FoundStore> LocateBookmarkFileSources(const Platform& platform, ProgressSink& status);

} // namespace tellavin
