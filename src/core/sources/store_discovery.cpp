#include "sources/store_discovery.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/registry_value.h"
#include "sources/favorites_reader.h"
#include "text/encoding.h"
#include "text/ini_document.h"
#include "text/number_text.h"
#include "text/replace_all.h"

#include <filesystem>
#include <optional>
#include <variant>

namespace tellavin {

namespace {

// An INI file read whole, in UTF-8 whatever it was written in; nothing when
// it cannot be read.
std::optional<IniDocument> ReadIniFile(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    return IniDocument::Parse(DecodeToUtf8(StripUtf8Bom(*bytes)));
}

// An integer key as the Windows profile functions read it: the number the
// value begins with, 0 when it begins with none or the key is missing.
std::int64_t IntegerKey(const IniDocument& ini, std::string_view section, std::string_view key) {
    auto value = ini.Get(section, key);
    auto number = value ? ParseLeadingInteger(*value) : std::nullopt;
    return number ? number->value : 0;
}

std::string FolderOf(const std::string& file) {
    auto separator = file.find_last_of(PathSeparator());
    return separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
}

// The hotlist of one Opera profile folder, if it has one.
std::optional<std::string> FindHotlistIn(const std::string& folder, const std::string& home) {
    for (const char* prefs : {"operaprefs.ini", "opera6.ini"}) {
        auto hotlist = HotlistNamedInPreferences(folder + prefs, home);
        if (!hotlist.empty() && FileExists(hotlist)) {
            return hotlist;
        }
    }
    for (const char* name : {"bookmarks.adr", "opera6.adr"}) {
        if (FileExists(folder + name)) {
            return folder + name;
        }
    }
    return std::nullopt;
}

} // namespace

bool SameFolderAsAny(const std::string& folder, const std::vector<std::string>& others) {
    for (const auto& other : others) {
        std::error_code error;
        if (std::filesystem::equivalent(PathFromUtf8(folder), PathFromUtf8(other), error)) {
            return true;
        }
    }
    return false;
}

std::string LocateFavoritesFolder(const Platform& platform) {
    return cFastScanning().GetFolderPath(platform).value_or(std::string());
}

std::vector<std::string> FirefoxDataFolders(const Platform& platform) {
    auto home = platform.GetSpecialFolder(SpecialFolder::Home).value_or(std::string());
    auto appData = platform.GetSpecialFolder(SpecialFolder::AppData).value_or(std::string());
    std::vector<std::string> folders;
#if defined(_WIN32)
    if (!appData.empty()) {
        folders.push_back(appData + "\\Mozilla\\Firefox\\");
    }
#elif defined(__APPLE__)
    if (!home.empty()) {
        folders.push_back(home + "/Library/Application Support/Firefox/");
    }
#else
    if (!home.empty()) {
        folders.push_back(home + "/.mozilla/firefox/");
    }
    if (!appData.empty()) {
        folders.push_back(appData + "/mozilla/firefox/");
    }
    if (!home.empty()) {
        folders.push_back(home + "/snap/firefox/common/.mozilla/firefox/");
        folders.push_back(home + "/.var/app/org.mozilla.firefox/.mozilla/firefox/");
    }
#endif
    return folders;
}

std::vector<FoundStore> LocateFirefoxBookmarks(const Platform& platform, ProgressSink& status) {
    status.SetStatusText(kRetrievingBookmarkFilesStatus);
    auto found = LocateFirefoxProfileFiles(platform, "bookmarks.html");
    status.SetStatusText(kReadyStatus);
    return found;
}

std::vector<FoundStore> LocateFirefoxProfileFiles(const Platform& platform,
                                                  const std::string& fileName) {
    std::vector<FoundStore> found;
    std::vector<std::string> searched;
    for (const auto& folder : FirefoxDataFolders(platform)) {
        if (!FileExists(folder + "profiles.ini") || SameFolderAsAny(folder, searched)) {
            continue;
        }
        searched.push_back(folder);
        for (auto& profile : ProfilesFromIni(folder, fileName)) {
            found.push_back(std::move(profile));
        }
    }
    return found;
}

std::vector<FoundStore> ProfilesFromIni(const std::string& dir, const std::string& fileName) {
    auto ini = ReadIniFile(dir + "profiles.ini");
    if (!ini) {
        return {};
    }
    std::vector<FoundStore> found;
    for (const auto& section : ini->sections()) {
        if (section.name.find("Profile") == std::string::npos) {
            continue;
        }
        auto path = ini->Get(section.name, "Path").value_or(std::string());
        if (path.empty()) {
            continue;
        }
        auto name = ini->Get(section.name, "Name").value_or("NoName");
        bool relative = IntegerKey(*ini, section.name, "IsRelative") == 1;
        auto file = EnsureTrailingSeparator(relative ? dir + path : path) + fileName;
        if (fileName.empty() ? FolderExists(file) : FileExists(file)) {
            found.push_back({{StoreKind::Netscape, file}, name});
        }
    }
    return found;
}

std::string HotlistNamedInPreferences(const std::string& prefsFile, const std::string& homeFolder) {
    auto ini = ReadIniFile(prefsFile);
    if (!ini) {
        return {};
    }
    auto hotlist = ini->Get("User Prefs", "Hot List File Ver2").value_or(std::string());
    ReplaceAll(hotlist, "{SmallPreferences}", FolderOf(prefsFile));
    if (!homeFolder.empty()) {
        ReplaceAll(hotlist, "{Home}", EnsureTrailingSeparator(homeFolder));
    }
    return hotlist;
}

namespace detail {

std::vector<std::string> WindowsOperaProfileFolders(const std::string& installFolder,
                                                    const std::string& appData) {
    auto withoutTrailing = [](std::string folder) {
        if (!folder.empty() && folder.back() == '\\') {
            folder.pop_back();
        }
        return folder;
    };
    std::vector<std::string> folders;
    std::string name = "Opera";
    if (!installFolder.empty()) {
        if (installFolder.size() < 2) {
            return {};
        }
        folders.push_back(withoutTrailing(installFolder) + "\\profile\\");
        // The folder's own name: the text after the last backslash, not
        // counting one at the very end.
        auto separator = installFolder.rfind('\\', installFolder.size() - 2);
        if (separator != std::string::npos) {
            name = withoutTrailing(installFolder.substr(separator + 1));
        }
    }
    if (!appData.empty()) {
        folders.push_back(withoutTrailing(appData) + "\\Opera\\" + name + "\\profile\\");
    }
    return folders;
}

} // namespace detail

std::vector<std::string> OperaProfileFolders(const Platform& platform) {
#ifdef _WIN32
    constexpr bool kWindows = true;
#else
    constexpr bool kWindows = false;
#endif
    if constexpr (kWindows) {
        auto installFolder = GetRegistryValue(platform, RegistryRoot::CurrentUser,
                                              "Software\\Opera Software", "Last Directory3");
        const auto* folder = std::get_if<std::string>(&installFolder);
        return detail::WindowsOperaProfileFolders(
            folder ? *folder : std::string(),
            platform.GetSpecialFolder(SpecialFolder::AppData).value_or(std::string()));
    }
    auto home = platform.GetSpecialFolder(SpecialFolder::Home).value_or(std::string());
    if (home.empty()) {
        return {};
    }
    return {EnsureTrailingSeparator(home) + ".opera/"};
}

std::vector<FoundStore> LocateOperaHotlist(const Platform& platform) {
    auto home = platform.GetSpecialFolder(SpecialFolder::Home).value_or(std::string());
    for (const auto& folder : OperaProfileFolders(platform)) {
        if (auto hotlist = FindHotlistIn(folder, home)) {
            return {{{StoreKind::Opera, *hotlist}, {}}};
        }
    }
    return {};
}

} // namespace tellavin
