#include "settings/settings_location.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"

namespace tellavin {

namespace {

// A copy the user carries about and keeps its settings beside: its folder
// may be written and already holds the settings file, or it is no
// installed copy's.
bool IsPortableCopy(const std::string& programFolder) {
    if (!FolderIsWritable(programFolder)) {
        return false;
    }
    auto settingsFile = PathFromUtf8(programFolder) / (std::string(kProgramName) + ".ini");
    return FileExists(Utf8FromPath(settingsFile)) || !InstalledDataFolder(programFolder);
}

} // namespace

std::string SettingsFolder(const Platform& platform) {
    auto executable = platform.GetExecutablePath();
    std::string programFolder;
    if (executable) {
        programFolder = Utf8FromPath(PathFromUtf8(*executable).parent_path());
        if (IsPortableCopy(programFolder)) {
            return programFolder;
        }
    }
    if (auto config = platform.GetSpecialFolder(SpecialFolder::AppData);
        config && !config->empty()) {
        return Utf8FromPath(PathFromUtf8(*config) / kProgramName);
    }
    return programFolder;
}

std::optional<std::string> InstalledDataFolder(const std::string& programFolder) {
    auto folder = PathFromUtf8(programFolder);
    if (folder.filename() != "bin") {
        return std::nullopt;
    }
    auto data = Utf8FromPath(folder.parent_path() / "share" / kProgramName);
    if (!FolderExists(data)) {
        return std::nullopt;
    }
    return data;
}

std::string InstalledFile(const std::string& programFolder, std::string_view name) {
    auto beside = Utf8FromPath(PathFromUtf8(programFolder) / PathFromUtf8(name));
    if (FileExists(beside)) {
        return beside;
    }
    if (auto data = InstalledDataFolder(programFolder)) {
        auto installed = Utf8FromPath(PathFromUtf8(*data) / PathFromUtf8(name));
        if (FileExists(installed)) {
            return installed;
        }
    }
    return beside;
}

} // namespace tellavin
