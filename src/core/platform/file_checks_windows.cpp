#include "platform/file_checks.h"
#include "platform/wide_text.h"

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <windows.h>

namespace tellavin {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<DWORD> Attributes(const std::string& path) {
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return attributes;
}

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Whether the file opens with the access asked for, without changing it.
bool Opens(const std::string& path, DWORD access) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

} // namespace

bool FolderExists(const std::string& path) {
    auto attributes = Attributes(path);
    return attributes && IsFolder(*attributes);
}

bool FileExists(const std::string& path) {
    auto attributes = Attributes(path);
    return attributes && !IsFolder(*attributes) && Opens(path, GENERIC_READ);
}

bool PathExists(const std::string& path) {
    if (FileExists(path)) {
        return true;
    }
    // Windows takes either slash between folders.
    auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos) {
        return false;
    }
    // The folder of "C:\name" is the drive's root, "C:\", not the drive "C:".
    bool atDriveRoot = separator == 2 && path[1] == ':';
    return FolderExists(path.substr(0, separator + (separator == 0 || atDriveRoot ? 1 : 0)));
}

bool IsReadOnly(const std::string& path) {
    auto attributes = Attributes(path);
    if (!attributes || IsFolder(*attributes)) {
        return false;
    }
    // The read-only attribute; beside it, a file whose access list denies
    // this user writing.
    return (*attributes & FILE_ATTRIBUTE_READONLY) != 0 ||
           (!Opens(path, GENERIC_WRITE) && GetLastError() == ERROR_ACCESS_DENIED);
}

bool FolderIsWritable(const std::string& path) {
    if (!FolderExists(path)) {
        return false;
    }
    // The read-only attribute of a folder does not stop files being made in
    // it, and access lists are too involved to read: creating a file that
    // the system deletes on closing answers for the user as the system sees
    // them.
    static std::atomic<unsigned> counter{0};
    std::string probe = path + "\\.tellavin-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(counter++);
    HANDLE file = CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// Windows keeps no pipes among files; what the C library sees as a device
// (NUL, CON, a pipe's name) is such a thing.
bool IsSpecialFile(const std::string& path) {
    std::error_code error;
    auto status = std::filesystem::status(WidePath(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
           !std::filesystem::is_directory(status);
}

} // namespace tellavin
