#include "platform/file_identity.h"
#include "platform/file_information_windows.h"
#include "platform/wide_text.h"

namespace tellavin {

std::optional<BY_HANDLE_FILE_INFORMATION> ReadFileInformation(const std::string& path) {
    // Backup semantics lets the handle name a folder.
    HANDLE file = CreateFileW(WidePath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known) {
        return std::nullopt;
    }
    return info;
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    auto info = ReadFileInformation(path);
    if (!info) {
        return std::nullopt;
    }
    return FileIdentity{info->dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info->nFileIndexHigh) << 32) |
                            info->nFileIndexLow};
}

} // namespace tellavin
