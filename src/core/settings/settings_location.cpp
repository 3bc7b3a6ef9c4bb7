#include "settings/settings_location.h"

#include "platform/file_checks.h"
#include "platform/file_io.h"

namespace tellavin {

std::string SettingsFolder(const Platform& platform) {
    auto executable = platform.GetExecutablePath();
    std::string programFolder;
    if (executable) {
        programFolder = Utf8FromPath(PathFromUtf8(*executable).parent_path());
        if (FolderIsWritable(programFolder)) {
            return programFolder;
        }
    }
    if (auto config = platform.GetSpecialFolder(SpecialFolder::AppData);
        config && !config->empty()) {
        return Utf8FromPath(PathFromUtf8(*config) / kProgramName);
    }
    return programFolder;
}

} // namespace tellavin
