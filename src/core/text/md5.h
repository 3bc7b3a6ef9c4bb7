#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// The MD5 message digest (RFC 1321), fed in pieces: the digest of the
// bytes of every Add call in turn. Chromium stores one over its bookmarks
// as their checksum; MD5 serves for nothing else here.
class Md5 {
public:
    Md5();
    void Add(std::string_view bytes);
    // The digest as 32 lower-case hexadecimal digits. Ends the digest: call
    // it once, after the last Add.
    std::string HexDigest();

private:
    void Transform(const unsigned char* block);

    std::array<std::uint32_t, 4> state_;
    std::array<unsigned char, 64> pending_{}; // the bytes of an unfinished block
    std::uint64_t length_ = 0;                // in bytes, every Add together
};

} // namespace tellavin
