#include "platform/file_information_windows.h"
#include "platform/folder_listing.h"
#include "platform/wide_text.h"

#include <windows.h>

namespace tellavin {

namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;

std::int64_t SecondsSince1970(FILETIME time) {
    auto ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                           time.dwLowDateTime) -
                 kTicksFrom1601To1970;
    auto seconds = ticks / kTicksPerSecond;
    return ticks % kTicksPerSecond < 0 ? seconds - 1 : seconds;
}

ListedType TypeOfAttributes(DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        return ListedType::Other;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ListedType::Folder : ListedType::File;
}

// Symbolic links and junctions lead elsewhere; other reparse points (files
// kept in the cloud, deduplicated files) are the files themselves.
bool IsLink(const WIN32_FIND_DATAW& found) {
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
            found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

// Follows a link to what it leads to: its type and last write.
void FollowLink(const std::string& path, ListedEntry& listed) {
    if (auto info = ReadFileInformation(path)) {
        listed.target = TypeOfAttributes(info->dwFileAttributes);
        listed.modified = SecondsSince1970(info->ftLastWriteTime);
    }
}

} // namespace

std::optional<std::vector<ListedEntry>> ListFolder(const std::string& path, bool withTimes) {
    std::string folder = path;
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder.push_back('\\');
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(WidePath(folder + "*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    std::vector<ListedEntry> entries;
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root has no "." entry, so an empty one finds nothing.
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return entries;
        }
        return std::nullopt;
    }
    do {
        std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..") {
            continue;
        }
        ListedEntry listed;
        listed.name = Utf8FromWide(name);
        if (IsLink(found)) {
            listed.type = ListedType::SymbolicLink;
            FollowLink(folder + listed.name, listed);
        } else {
            listed.type = TypeOfAttributes(found.dwFileAttributes);
            listed.target = listed.type;
            listed.modified = SecondsSince1970(found.ftLastWriteTime);
        }
        if (!withTimes) {
            listed.modified.reset();
        }
        entries.push_back(std::move(listed));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

} // namespace tellavin
