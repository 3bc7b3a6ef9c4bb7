#include "sources/browser_folders.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "sources/store_discovery.h"

#include <algorithm>
#include <filesystem>

namespace tellavin {

namespace {

std::filesystem::path Resolved(const std::string& path) {
    std::error_code error;
    auto resolved = std::filesystem::weakly_canonical(PathFromUtf8(path), error);
    return error ? PathFromUtf8(path).lexically_normal() : resolved;
}

// The file lies below folder, links followed and any depth.
bool LiesBelow(const std::filesystem::path& file, const std::string& folder) {
    auto inside = Resolved(folder);
    // A folder path ending in a separator has an empty last part.
    auto end = inside.end();
    if (!inside.empty() && (--inside.end())->empty()) {
        --end;
    }
    auto [mismatch, unused] = std::mismatch(inside.begin(), end, file.begin(), file.end());
    return mismatch == end && !inside.empty();
}

bool LiesBelowAny(const std::string& file, const std::vector<std::string>& folders) {
    auto resolved = Resolved(file);
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& folder) { return LiesBelow(resolved, folder); });
}

} // namespace

bool LiesInFirefoxFolders(const std::string& file, const Platform& platform) {
    auto folder = Utf8FromPath(Resolved(file).parent_path()) + PathSeparator();
    if (FileExists(folder + "prefs.js") || FileExists(folder + "places.sqlite")) {
        return true;
    }
    return LiesBelowAny(file, FirefoxDataFolders(platform));
}

bool LiesInOperaFolders(const std::string& file, const Platform& platform) {
    return LiesBelowAny(file, OperaProfileFolders(platform));
}

std::vector<std::string> FirefoxImportAdvice(const std::string& file, const Platform& platform) {
    if (!LiesInFirefoxFolders(file, platform)) {
        return {};
    }
    return {"Firefox does not read this file on its own. To bring the bookmarks in,",
            "open Bookmarks > Manage Bookmarks in Firefox and choose",
            "Import and Backup > Import Bookmarks from HTML..."};
}

} // namespace tellavin
