#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tellavin {

// Firefox's compressed files (its bookmark backups, "*.jsonlz4"): the
// 8-byte magic "mozLz40\0", the decompressed size as 4 bytes little-endian,
// then one raw LZ4 block.
inline constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};

// A decompressed size larger than this is refused unread: no bookmark
// backup comes near it, and a damaged or hostile size field must not make
// the reader take that much memory.
inline constexpr std::size_t kMaxMozLz4Bytes = std::size_t{1} << 30;

// What decompressing gave: the content, or why there is none.
struct MozLz4Content {
    std::string text;
    std::string failure;
};

// The content of a file that starts with kMozLz4Magic. The size field must
// be at most kMaxMozLz4Bytes and no more than the block can grow to (255
// times its length), and the block must decompress to exactly that many
// bytes; otherwise the failure says which did
// not hold. A build without LZ4 (the Windows cross build) fails with
// kMozLz4Unsupported.
MozLz4Content DecompressMozLz4(std::string_view file);

inline constexpr const char* kMozLz4Unsupported =
    "this build cannot read compressed Firefox backups";

} // namespace tellavin
