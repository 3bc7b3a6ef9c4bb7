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
// ("No such file or directory", "Is a directory", "Permission denied"), or
// kNotARegularFile for a pipe, a socket or a device in a file's place.
std::string ReasonCannotRead(const std::string& path, bool folder);
inline constexpr const char* kNotARegularFile = "not a file but a pipe, a socket or a device";

// The whole content of a regular file, or nothing when it cannot be read
// (missing, a directory, no permission).
std::optional<std::string> ReadWholeFile(const std::string& path);
// The same for a file of at most maxBytes; nothing, without reading it, for
// a larger one.
std::optional<std::string> ReadSmallFile(const std::string& path, std::uintmax_t maxBytes);
// The first bytes of a regular file, at most maxBytes of them, for telling
// what kind of file it is; nothing when it cannot be read. Like the reads
// above it never waits on a pipe or a device in the file's place.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes);

} // namespace tellavin
