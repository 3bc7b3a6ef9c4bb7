#include "platform/wide_text.h"

#include <algorithm>
#include <windows.h>

namespace tellavin {

namespace {

// The first path length the classic functions may refuse: a folder's path
// must leave room for an 8.3 file name (MAX_PATH less 12), and listing a
// folder adds "\\*" to its path.
constexpr std::size_t kClassicPathLimit = MAX_PATH - 12;

bool IsAbsoluteDrivePath(std::wstring_view path) {
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
}

std::wstring FullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return full;
}

} // namespace

std::wstring WideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

std::wstring WidePath(std::string_view utf8) {
    std::wstring path = WideFromUtf8(utf8);
    if (path.size() < kClassicPathLimit || path.starts_with(L"\\\\?\\")) {
        return path;
    }
    std::replace(path.begin(), path.end(), L'/', L'\\');
    // The prefix turns off the system's own tidying of the path, so the
    // path is made whole (a relative path against the current folder, "."
    // and ".." resolved) first.
    path = FullPath(path);
    if (IsAbsoluteDrivePath(path)) {
        return L"\\\\?\\" + path;
    }
    if (path.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return path;
}

std::string Utf8FromWidePath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return "\\\\" + Utf8FromWide(path.substr(8));
    }
    if (path.starts_with(L"\\\\?\\")) {
        return Utf8FromWide(path.substr(4));
    }
    return Utf8FromWide(path);
}

std::string SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? Utf8FromWide(std::wstring_view(buffer, length))
                                  : "error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

} // namespace tellavin
