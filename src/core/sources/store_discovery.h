#pragma once

#include "model/conversion_path.h"
#include "model/progress.h"
#include "platform/platform.h"

#include <string>
#include <vector>

namespace tellavin {

// Finding the bookmark stores on this machine: the Favorites folder, the
// bookmark file of each Firefox profile and the Opera hotlist. Discovery
// never fails its caller: whatever cannot be read (a missing or malformed
// profiles.ini or preferences file, a missing bookmark file) adds nothing.
// It only tells what it found; a window fills its location list from that.

inline constexpr const char* kRetrievingBookmarkFilesStatus = "Retrieving Bookmark Files";
inline constexpr const char* kReadyStatus = "Ready";

// The user's Favorites folder, or empty when the system has none (the
// window then shows kAutoLocateFailedTitle with kAutoLocateFailedText).
std::string LocateFavoritesFolder(const Platform& platform);

// The folders where Firefox may keep its profiles.ini on this system, each
// ending in a separator, in the order they are searched. On Linux these
// are the classic, the XDG, the snap and the flatpak locations.
std::vector<std::string> FirefoxDataFolders(const Platform& platform);

// The bookmark file of every profile of every Firefox data folder that
// holds a profiles.ini, labelled with the profile's name; a folder reached
// twice (through a link) is searched once. The status shows
// kRetrievingBookmarkFilesStatus meanwhile and kReadyStatus after.
std::vector<FoundStore> LocateFirefoxBookmarks(const Platform& platform, ProgressSink& status);

// The file of that name in every profile of every Firefox data folder that
// holds a profiles.ini (ProfilesFromIni), each folder searched once.
std::vector<FoundStore> LocateFirefoxProfileFiles(const Platform& platform,
                                                  const std::string& fileName);

// In the order of the profile sections of dir + "profiles.ini" (dir ends in
// a separator), each profile's file of that name ("bookmarks.html", or
// "places.sqlite" for the bookmark database) that exists, labelled with
// the profile's name; an empty fileName gives each profile's folder that
// exists (ending in a separator). A profile without a name is "NoName"; a relative
// profile path is taken below dir; a section without a path is no profile.
std::vector<FoundStore> ProfilesFromIni(const std::string& dir,
                                        const std::string& fileName = "bookmarks.html");

// Whether folder is one of others, reached through any path or link.
bool SameFolderAsAny(const std::string& folder, const std::vector<std::string>& others);

// The Opera hotlist, when there is one: the file that the preferences
// ("operaprefs.ini", else "opera6.ini") of Opera's profile folder name under
// "Hot List File Ver2" of "User Prefs", else "bookmarks.adr" or
// "opera6.adr" in that folder.
std::vector<FoundStore> LocateOperaHotlist(const Platform& platform);

// The folders where Opera may keep its preferences, each ending in a
// separator, in the order they are searched: on Windows those that Opera's
// installation folder in the registry leads to, elsewhere "~/.opera/".
std::vector<std::string> OperaProfileFolders(const Platform& platform);

namespace detail {
// Opera's profile folders on Windows, from its installation folder (the
// registry's "Last Directory3", empty when missing) and the user's
// application-data folder: the installation's own "profile" folder, then
// the one under application data named after the installation folder
// ("Opera" when the installation folder is unknown). A one-character
// installation folder names no folder: then there is none to search.
std::vector<std::string> WindowsOperaProfileFolders(const std::string& installFolder,
                                                    const std::string& appData);
} // namespace detail

// The hotlist path that an Opera preferences file names, with the folder
// macros "{SmallPreferences}" (the preferences file's folder) and "{Home}"
// (the user's home folder) expanded; empty when the file cannot be read or
// names none.
std::string HotlistNamedInPreferences(const std::string& prefsFile, const std::string& homeFolder);

} // namespace tellavin
