#include "sources/chromium_profile.h"

#include "platform/file_io.h"
#include "platform/profile_lock.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

namespace tellavin {

namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// An account store holds roots once the account's bookmarks came in.
bool HoldsRoots(const fs::path& path) {
    auto bytes = ReadWholeFile(Utf8FromPath(path));
    if (!bytes) {
        return false;
    }
    auto document = nlohmann::json::parse(*bytes, nullptr, false);
    if (!document.is_object()) {
        return false;
    }
    auto roots = document.find("roots");
    return roots != document.end() && roots->is_object() && !roots->empty();
}

// The folder itself, whether or not the path ends in a separator.
fs::path WithoutTrailingSeparator(const std::string& folder) {
    auto path = PathFromUtf8(folder);
    return path.has_filename() ? path : path.parent_path();
}

} // namespace

ChromiumProfileFiles ChromiumBookmarksOf(const std::string& path) {
    ChromiumProfileFiles files;
    std::error_code error;
    fs::path store;
    if (fs::is_directory(PathFromUtf8(path), error)) {
        auto folder = WithoutTrailingSeparator(path);
        auto account = folder / kChromiumAccountBookmarksFile;
        files.accountStore =
            !IsFile(folder / kChromiumBookmarksFile) && IsFile(account) && HoldsRoots(account);
        store =
            folder / (files.accountStore ? kChromiumAccountBookmarksFile : kChromiumBookmarksFile);
        files.profileFolder = Utf8FromPath(folder);
        files.bookmarksFile = Utf8FromPath(store);
    } else {
        store = PathFromUtf8(path);
        files.accountStore = store.filename() == kChromiumAccountBookmarksFile;
        files.profileFolder = Utf8FromPath(store.parent_path());
        files.bookmarksFile = path;
    }
    auto copy = store.parent_path() / (files.accountStore ? kChromiumEncryptedAccountBookmarksFile
                                                          : kChromiumEncryptedBookmarksFile);
    files.hasEncryptedCopy = IsFile(copy);
    return files;
}

std::optional<bool> ChromiumRunsOnProfile(const std::string& profileFolder) {
    auto userData = WithoutTrailingSeparator(profileFolder).parent_path();
    return ChromiumHoldsUserData(Utf8FromPath(userData));
}

} // namespace tellavin
