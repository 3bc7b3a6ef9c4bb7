#include "platform/file_io.h"

#ifdef _WIN32
#include "platform/wide_text.h"
#endif

#include <array>
#include <fstream>

namespace tellavin {

// On Windows a path takes the long-path prefix where it needs it, so files
// deeper than 260 characters are reached, and gives it up again as text.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(WidePath(utf8));
#else
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return Utf8FromWidePath(path.native());
#else
    auto text = path.u8string();
    return std::string(text.begin(), text.end());
#endif
}

std::string ReasonCannotRead(const std::string& path, bool folder) {
    std::error_code error;
    auto status = std::filesystem::status(PathFromUtf8(path), error);
    if (error) {
        return error.message();
    }
    auto reason = std::errc::permission_denied;
    if (folder && !std::filesystem::is_directory(status)) {
        reason = std::errc::not_a_directory;
    } else if (!folder && std::filesystem::is_directory(status)) {
        reason = std::errc::is_a_directory;
    }
    return std::make_error_code(reason).message();
}

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

} // namespace tellavin
