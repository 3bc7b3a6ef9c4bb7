#include "platform/file_io.h"
#include "platform/wide_text.h"

#include <array>
#include <fstream>
#include <windows.h>

namespace tellavin {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code error;
    auto fsPath = PathFromUtf8(path);
    if (!std::filesystem::is_regular_file(fsPath, error)) {
        return std::nullopt;
    }
    // Opened at its end, whose place is the size: no second look-up of the
    // path, which costs as much as the read itself on small files.
    std::ifstream in(fsPath, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    auto size = static_cast<std::streamoff>(in.tellg());
    if (size < 0 || !in.seekg(0)) {
        return std::nullopt;
    }
    // The size the file had is read straight into the string, in one call;
    // a file that grew since is read on in blocks, one that shrank is cut.
    std::string content;
    if (size > 0) {
        content.resize(static_cast<std::size_t>(size));
        in.read(content.data(), size);
        content.resize(static_cast<std::size_t>(in.gcount()));
    }
    std::array<char, 1 << 16> block;
    while (in && (in.read(block.data(), block.size()) || in.gcount() > 0)) {
        content.append(block.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::uintmax_t maxBytes) {
    std::error_code error;
    auto size = std::filesystem::file_size(PathFromUtf8(path), error);
    if (error || size > maxBytes) {
        return std::nullopt;
    }
    // The file may have grown since its size was asked.
    auto content = ReadWholeFile(path);
    if (!content || content->size() > maxBytes) {
        return std::nullopt;
    }
    return content;
}

// Opened sharing every access, so that another export may replace the file
// meanwhile; a pipe or a device in its place is refused.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> start;
    if (GetFileType(file) == FILE_TYPE_DISK) {
        start.emplace(maxBytes, '\0');
        DWORD got = 0;
        if (ReadFile(file, start->data(), static_cast<DWORD>(maxBytes), &got, nullptr)) {
            start->resize(got);
        } else {
            start.reset();
        }
    }
    CloseHandle(file);
    return start;
}

} // namespace tellavin
