#include "platform/atomic_replace.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <windows.h>

namespace tellavin {

namespace {

// Attributes the new file takes over from the one it replaces. Read-only
// is not among them: a read-only target refuses the replace, as it should.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

WriteResult Failure(const std::string& path, DWORD error) {
    return {false, "Cannot write \"" + path + "\": " + SystemErrorText(error)};
}

std::string FolderOf(const std::string& path) {
    auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos) {
        return ".";
    }
    return path.substr(0, separator == 0 || (separator == 2 && path[1] == ':') ? separator + 1
                                                                               : separator);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A new, empty file beside the target, with a name no other writer uses.
std::optional<std::string> CreateTemporary(const std::string& target, HANDLE& file) {
    static std::atomic<unsigned> counter{0};
    std::string prefix =
        FolderOf(target) + "\\.tellavin-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = prefix + std::to_string(counter++) + ".tmp";
        file = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return temp;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

namespace detail {

bool IsSymbolicLink(const std::string& path) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(WidePath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
}

std::string ResolvedTarget(const std::string& path) {
    if (!IsSymbolicLink(path)) {
        return path;
    }
    HANDLE file = CreateFileW(WidePath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring resolved(32768, L'\0');
    DWORD length = GetFinalPathNameByHandleW(
        file, resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
    CloseHandle(file);
    if (length == 0 || length >= resolved.size()) {
        return path;
    }
    resolved.resize(length);
    return Utf8FromWide(resolved);
}

// Writes bytes to a temporary file beside target, flushes it, gives it the
// target's attributes and moves it over the target in one rename. The
// rename either happens whole or not at all, so the old file stays as it
// was on every failure. (ReplaceFileW keeps more of the old file, but one
// of its failures leaves neither the old file nor the new one under the
// target's name.) Failures name path.
WriteResult ReplaceThroughTemporary(const std::string& path, const std::string& target,
                                    std::string_view bytes, bool flushToDisk) {
    std::wstring wideTarget = WidePath(target);
    DWORD existing = GetFileAttributesW(wideTarget.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Failure(path, ERROR_DIRECTORY);
    }
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failure(path, ERROR_ACCESS_DENIED);
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    auto temp = CreateTemporary(target, file);
    if (!temp) {
        return Failure(path, GetLastError());
    }
    bool ok = WriteAll(file, bytes) && (!flushToDisk || FlushFileBuffers(file));
    DWORD error = GetLastError();
    CloseHandle(file);
    std::wstring wideTemp = WidePath(*temp);
    if (ok && existing != INVALID_FILE_ATTRIBUTES && (existing & kKeptAttributes) != 0) {
        ok = SetFileAttributesW(wideTemp.c_str(), existing & kKeptAttributes) != 0;
        error = GetLastError();
    }
    DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | (flushToDisk ? MOVEFILE_WRITE_THROUGH : 0);
    if (ok && !MoveFileExW(wideTemp.c_str(), wideTarget.c_str(), moveFlags)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        SetFileAttributesW(wideTemp.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wideTemp.c_str());
        return Failure(path, error);
    }
    return {};
}

} // namespace detail

} // namespace tellavin
