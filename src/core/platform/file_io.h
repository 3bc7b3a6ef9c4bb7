#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// A file system path from UTF-8 text, and back.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// Why the file or folder at path cannot be read, as the system words it
// ("No such file or directory", "Is a directory", "Permission denied").
std::string ReasonCannotRead(const std::string& path, bool folder);

// The whole content of a regular file, or nothing when it cannot be read
// (missing, a directory, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);
// The same for a file of at most maxBytes; nothing, without reading it, for
// a larger one.
std::optional<std::string> ReadSmallFile(const std::string& path, std::uintmax_t maxBytes);

} // namespace tellavin
