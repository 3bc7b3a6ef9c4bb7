#include "platform/atomic_file.h"
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

constexpr std::string_view kTemporaryPrefix = ".tellavin-";
constexpr std::string_view kTemporaryExtension = ".tmp";

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

// A new, empty file beside the target, with a name no other writer uses:
// the prefix, the process number, "-", a number and the extension.
std::optional<std::string> CreateTemporary(const std::string& target, HANDLE& file) {
    static std::atomic<unsigned> counter{0};
    std::string prefix = FolderOf(target) + "\\" + std::string(kTemporaryPrefix) +
                         std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = prefix + std::to_string(counter++) + std::string(kTemporaryExtension);
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

// A symbolic link has the name path.
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

// The file a symbolic link at path points to, so that replacing it keeps
// the link; path itself when it is no link or the link leads nowhere.
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
    return Utf8FromWidePath(resolved);
}

HANDLE HandleOf(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

// Whether text is one or more decimal digits.
bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

namespace detail {

bool IsTemporaryFileName(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporaryExtension)) {
        return false;
    }
    name.remove_prefix(kTemporaryPrefix.size());
    name.remove_suffix(kTemporaryExtension.size());
    auto dash = name.find('-');
    return dash != std::string_view::npos && IsNumber(name.substr(0, dash)) &&
           IsNumber(name.substr(dash + 1));
}

} // namespace detail

AtomicFileWriter::AtomicFileWriter(const std::string& path, bool flushToDisk, bool followLinks)
    : path_(path), flushToDisk_(flushToDisk) {
    Open(followLinks);
}

void AtomicFileWriter::CloseAndRemoveTemporary() {
    if (file_ != -1) {
        CloseHandle(HandleOf(file_));
    }
    if (!temp_.empty()) {
        DeleteFileW(WidePath(temp_).c_str());
    }
}

// Makes the temporary file beside the target, after removing those of
// earlier writes that were cut short. A folder or a read-only file in the
// target's place is refused before anything is written, as the move would
// refuse it at the end.
void AtomicFileWriter::Open(bool followLinks) {
    if (!followLinks && IsSymbolicLink(path_)) {
        refusedLink_ = true;
        return;
    }
    target_ = followLinks ? ResolvedTarget(path_) : path_;
    DWORD existing = GetFileAttributesW(WidePath(target_).c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        Fail(ERROR_DIRECTORY);
        return;
    }
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY) != 0) {
        Fail(ERROR_ACCESS_DENIED);
        return;
    }
    if (flushToDisk_) {
        RemoveStaleTemporaryFiles(FolderOf(target_));
    }
    HANDLE file = INVALID_HANDLE_VALUE;
    auto temp = CreateTemporary(target_, file);
    if (!temp) {
        Fail(GetLastError());
        return;
    }
    temp_ = std::move(*temp);
    file_ = reinterpret_cast<std::intptr_t>(file);
}

unsigned long AtomicFileWriter::WriteToFile(std::string_view bytes) {
    if (!WriteAll(HandleOf(file_), bytes)) {
        return GetLastError();
    }
    return 0;
}

// Flushes the temporary file, gives it the target's attributes and moves
// it over the target in one rename. The rename either happens whole or not
// at all, so the old file stays as it was on every failure. (ReplaceFileW
// keeps more of the old file, but one of its failures leaves neither the
// old file nor the new one under the target's name.)
WriteResult AtomicFileWriter::Commit() {
    if (refusedLink_) {
        return {false, "Cannot write \"" + path_ + "\": " + kSymbolicLinkInPlace};
    }
    WriteBuffer();
    if (file_ != -1) {
        HANDLE file = HandleOf(file_);
        file_ = -1;
        if (error_ == 0 && flushToDisk_ && !FlushFileBuffers(file)) {
            Fail(GetLastError());
        }
        if (!CloseHandle(file)) {
            Fail(GetLastError());
        }
    }
    std::wstring wideTarget = WidePath(target_);
    std::wstring wideTemp = WidePath(temp_);
    DWORD existing = error_ == 0 ? GetFileAttributesW(wideTarget.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & kKeptAttributes) != 0 &&
        !SetFileAttributesW(wideTemp.c_str(), existing & kKeptAttributes)) {
        Fail(GetLastError());
    }
    DWORD moveFlags = MOVEFILE_REPLACE_EXISTING | (flushToDisk_ ? MOVEFILE_WRITE_THROUGH : 0);
    if (error_ == 0 && !MoveFileExW(wideTemp.c_str(), wideTarget.c_str(), moveFlags)) {
        Fail(GetLastError());
    }
    if (error_ != 0) {
        return Failure(path_, error_);
    }
    temp_.clear();
    return {};
}

} // namespace tellavin
