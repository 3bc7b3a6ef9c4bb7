#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tellavin::test {

// Files and folders that readers and writers must survive.

// A chain root/name/name/... depth folders deep, made relative to each
// parent so it can go deeper than the system's path limit.
void MakeDeepChain(const std::filesystem::path& root, const std::string& name, int depth);

// Writes head, then count copies of fill, then tail, without holding the
// whole file in memory (for files of hundreds of megabytes).
void WriteRepeated(const std::filesystem::path& path, std::string_view head, char fill,
                   std::size_t count, std::string_view tail);

// The bytes of a file of our own test data in tests/data.
std::string DataFile(const std::string& name);
std::filesystem::path DataPath(const std::string& name);

} // namespace tellavin::test
