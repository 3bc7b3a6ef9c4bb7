#include "platform/folder_time.h"
#include "platform/wide_text.h"

#include <windows.h>

namespace tellavin {

bool SetFolderLastWrite(const std::string& folder, std::int64_t seconds) {
    // FILETIME counts 100-nanosecond steps since 1601.
    constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;
    auto steps = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * 10'000'000u;
    FILETIME time{static_cast<DWORD>(steps & 0xFFFFFFFFu), static_cast<DWORD>(steps >> 32)};
    HANDLE handle = CreateFileW(WidePath(folder).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool set = SetFileTime(handle, nullptr, nullptr, &time) != 0;
    CloseHandle(handle);
    return set;
}

} // namespace tellavin
