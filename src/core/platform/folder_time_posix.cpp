#include "platform/file_io.h"
#include "platform/folder_time.h"

#include <chrono>
#include <filesystem>

namespace tellavin {

bool SetFolderLastWrite(const std::string& folder, std::int64_t seconds) {
    auto moment = std::chrono::sys_seconds(std::chrono::seconds(seconds));
    std::error_code error;
    std::filesystem::last_write_time(PathFromUtf8(folder),
                                     std::chrono::file_clock::from_sys(moment), error);
    return !error;
}

} // namespace tellavin
