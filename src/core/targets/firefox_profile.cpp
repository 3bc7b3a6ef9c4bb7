#include "targets/firefox_profile.h"

#include "platform/file_io.h"
#include "platform/parent_lock.h"

namespace tellavin {

std::string FirefoxProfileLockFile(const std::string& profileFolder) {
    return Utf8FromPath(PathFromUtf8(profileFolder) / ".parentlock");
}

std::optional<bool> FirefoxRunsOnProfile(const std::string& profileFolder) {
    return ProfileLock(FirefoxProfileLockFile(profileFolder)).HeldElsewhere();
}

std::string FirefoxRootName(BrowserRoot place) {
    switch (place) {
    case BrowserRoot::Bar:
        return "Bookmarks Toolbar";
    case BrowserRoot::Menu:
        return "Bookmarks Menu";
    case BrowserRoot::Other:
        break;
    }
    return "Other Bookmarks";
}

} // namespace tellavin
