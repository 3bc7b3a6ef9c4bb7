#include "sources/browser_discovery.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/folder_listing.h"
#include "sources/safari_reader.h"
#include "sources/store_discovery.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

namespace tellavin {

namespace {

// The browsers by their folders below the configuration folder (Linux),
// the local application-data folder (Windows) and Application Support
// (macOS), and their snap and flatpak names.
struct ChromiumFamilyMember {
    const char* browser;
    const char* linuxFolder;
    const char* windowsFolder;
    const char* macFolder;
    const char* snap;    // the folder below ~/snap/, or nullptr
    const char* flatpak; // the application id below ~/.var/app/
};

constexpr ChromiumFamilyMember kChromiumFamily[] = {
    {"Chromium", "chromium", "Chromium\\User Data", "Chromium", "chromium/common/chromium",
     "org.chromium.Chromium"},
    {"Chrome", "google-chrome", "Google\\Chrome\\User Data", "Google/Chrome", nullptr,
     "com.google.Chrome"},
    {"Edge", "microsoft-edge", "Microsoft\\Edge\\User Data", "Microsoft Edge", nullptr,
     "com.microsoft.Edge"},
    {"Brave", "BraveSoftware/Brave-Browser", "BraveSoftware\\Brave-Browser\\User Data",
     "BraveSoftware/Brave-Browser", "brave/current/.config/BraveSoftware/Brave-Browser",
     "com.brave.Browser"},
    {"Vivaldi", "vivaldi", "Vivaldi\\User Data", "Vivaldi", nullptr, "com.vivaldi.Vivaldi"},
};

// The profiles' names by folder, from the "Local State" file of a
// user-data folder; empty when it cannot be read.
std::map<std::string, std::string> ProfileNames(const std::string& folder) {
    std::map<std::string, std::string> names;
    auto bytes = ReadWholeFile(folder + "Local State");
    if (!bytes) {
        return names;
    }
    auto state = nlohmann::json::parse(*bytes, nullptr, false);
    if (!state.is_object()) {
        return names;
    }
    auto profile = state.find("profile");
    if (profile == state.end() || !profile->is_object()) {
        return names;
    }
    auto cache = profile->find("info_cache");
    if (cache == profile->end() || !cache->is_object()) {
        return names;
    }
    for (const auto& [key, value] : cache->items()) {
        if (value.is_object() && value.contains("name") && value["name"].is_string()) {
            names[key] = value["name"].get<std::string>();
        }
    }
    return names;
}

} // namespace

std::vector<ChromiumDataFolder> ChromiumDataFolders(const Platform& platform) {
    auto home = platform.GetSpecialFolder(SpecialFolder::Home).value_or(std::string());
    std::vector<ChromiumDataFolder> folders;
#if defined(_WIN32)
    auto local = platform.GetEnvironment("LOCALAPPDATA").value_or(std::string());
    if (!local.empty()) {
        for (const auto& member : kChromiumFamily) {
            folders.push_back(
                {member.browser, EnsureTrailingSeparator(local) + member.windowsFolder + "\\"});
        }
    }
#elif defined(__APPLE__)
    if (!home.empty()) {
        for (const auto& member : kChromiumFamily) {
            folders.push_back(
                {member.browser, home + "/Library/Application Support/" + member.macFolder + "/"});
        }
    }
#else
    auto config = platform.GetSpecialFolder(SpecialFolder::AppData).value_or(std::string());
    if (!config.empty()) {
        for (const auto& member : kChromiumFamily) {
            folders.push_back(
                {member.browser, EnsureTrailingSeparator(config) + member.linuxFolder + "/"});
        }
    }
    if (!home.empty()) {
        for (const auto& member : kChromiumFamily) {
            if (member.snap != nullptr) {
                folders.push_back({member.browser, home + "/snap/" + member.snap + "/"});
            }
        }
        for (const auto& member : kChromiumFamily) {
            folders.push_back({member.browser, home + "/.var/app/" + member.flatpak + "/config/" +
                                                   member.linuxFolder + "/"});
        }
    }
#endif
    return folders;
}

std::vector<FoundStore> ChromiumProfiles(const ChromiumDataFolder& data) {
    std::vector<std::string> profiles;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(PathFromUtf8(data.folder), error), end;
         !error && entry != end; entry.increment(error)) {
        auto name = Utf8FromPath(entry->path().filename());
        if (FileExists(data.folder + name + PathSeparator() + "Bookmarks")) {
            profiles.push_back(name);
        }
    }
    std::sort(profiles.begin(), profiles.end(), [](const std::string& a, const std::string& b) {
        return (a == "Default") != (b == "Default") ? a == "Default" : a < b;
    });
    auto names = ProfileNames(data.folder);
    std::vector<FoundStore> found;
    for (const auto& profile : profiles) {
        auto named = names.find(profile);
        found.push_back(
            {{StoreKind::Chromium, data.folder + profile + PathSeparator() + "Bookmarks"},
             data.browser + " " + (named != names.end() ? named->second : profile)});
    }
    return found;
}

BrowserProfileIdentity IdentifyBrowserProfile(StoreKind kind, const std::string& profileFolder,
                                              const Platform& platform) {
    auto profile = PathFromUtf8(profileFolder);
    if (!profile.has_filename()) {
        profile = profile.parent_path();
    }
    auto folderName = Utf8FromPath(profile.filename());
    auto parent = EnsureTrailingSeparator(Utf8FromPath(profile.parent_path()));
    if (kind == StoreKind::Firefox) {
        BrowserProfileIdentity identity{"Firefox", folderName};
        for (const auto& found : ProfilesFromIni(parent, "places.sqlite")) {
            if (SameFolderAsAny(Utf8FromPath(PathFromUtf8(found.location.path).parent_path()),
                                {Utf8FromPath(profile)})) {
                identity.profile = found.label;
            }
        }
        return identity;
    }
    BrowserProfileIdentity identity{"Chromium", folderName};
    for (const auto& known : ChromiumDataFolders(platform)) {
        if (SameFolderAsAny(parent, {known.folder})) {
            identity.browser = known.browser;
            break;
        }
    }
    auto names = ProfileNames(parent);
    if (auto named = names.find(folderName); named != names.end()) {
        identity.profile = named->second;
    }
    return identity;
}

std::optional<FoundStore> FirefoxProfileBackup(const std::string& profileFolder,
                                               const std::string& profileName) {
    auto folder = EnsureTrailingSeparator(profileFolder) + "bookmarkbackups" + PathSeparator();
    auto entries = ListFolder(folder, true);
    if (!entries) {
        return std::nullopt;
    }
    // "bookmarks-" and a date of the form YYYY-MM-DD.
    constexpr std::size_t kDateAt = 10;
    constexpr std::size_t kDateLength = 10;
    auto isDate = [](std::string_view text) {
        for (std::size_t n = 0; n < text.size(); ++n) {
            bool dash = n == 4 || n == 7;
            if (dash ? text[n] != '-' : (text[n] < '0' || text[n] > '9')) {
                return false;
            }
        }
        return true;
    };
    const ListedEntry* newest = nullptr;
    auto order = [&](const ListedEntry& entry) {
        return std::tuple(entry.name.substr(kDateAt, kDateLength), entry.modified.value_or(0));
    };
    for (const auto& entry : *entries) {
        std::string_view name = entry.name;
        if (entry.target != ListedType::File || !name.starts_with("bookmarks-") ||
            name.size() < kDateAt + kDateLength || !isDate(name.substr(kDateAt, kDateLength)) ||
            !(name.ends_with(".jsonlz4") || name.ends_with(".json"))) {
            continue;
        }
        if (newest == nullptr || order(*newest) < order(entry)) {
            newest = &entry;
        }
    }
    if (newest == nullptr) {
        return std::nullopt;
    }
    return FoundStore{{StoreKind::FirefoxBackup, folder + newest->name},
                      "Firefox " + profileName + " (backup " +
                          newest->name.substr(kDateAt, kDateLength) + ")"};
}

std::vector<FoundStore> LocateBrowserDatabases(const Platform& platform) {
    auto found = LocateFirefoxProfileFiles(platform, "places.sqlite");
    for (auto& database : found) {
        database.location.kind = StoreKind::Firefox;
        database.label = "Firefox " + database.label;
    }
    for (const auto& profile : LocateFirefoxProfileFiles(platform, "")) {
        if (auto backup = FirefoxProfileBackup(profile.location.path, profile.label)) {
            found.push_back(std::move(*backup));
        }
    }
    std::vector<std::string> searched;
    for (const auto& data : ChromiumDataFolders(platform)) {
        if (!FolderExists(data.folder) || SameFolderAsAny(data.folder, searched)) {
            continue;
        }
        searched.push_back(data.folder);
        for (auto& profile : ChromiumProfiles(data)) {
            found.push_back(std::move(profile));
        }
    }
    return found;
}

std::vector<FoundStore> LocateSafariBookmarks(const Platform& platform, bool macOS) {
    auto home = platform.GetSpecialFolder(SpecialFolder::Home).value_or(std::string());
    if (!macOS || home.empty()) {
        return {};
    }
    auto file = EnsureTrailingSeparator(home) + "Library/Safari/" + kSafariBookmarksFile;
    if (!FileExists(file)) {
        return {};
    }
    return {{{StoreKind::Safari, file}, "Safari"}};
}

std::vector<FoundStore> LocateBookmarkFileSources(const Platform& platform, ProgressSink& status) {
    status.SetStatusText(kRetrievingBookmarkFilesStatus);
    auto found = LocateFirefoxProfileFiles(platform, "bookmarks.html");
    for (auto& database : LocateBrowserDatabases(platform)) {
        found.push_back(std::move(database));
    }
    for (auto& safari : LocateSafariBookmarks(platform)) {
        found.push_back(std::move(safari));
    }
    status.SetStatusText(kReadyStatus);
    return found;
}

} // namespace tellavin
