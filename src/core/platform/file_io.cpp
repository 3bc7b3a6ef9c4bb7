#include "platform/file_io.h"

#ifdef _WIN32
#include "platform/wide_text.h"
#endif

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
    } else if (!folder && !std::filesystem::is_regular_file(status)) {
        return kNotARegularFile;
    }
    return std::make_error_code(reason).message();
}

} // namespace tellavin
