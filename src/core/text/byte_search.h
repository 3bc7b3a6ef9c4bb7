#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tellavin {

// The first place at or after from that holds byte, or npos. The first 64
// bytes are searched here, eight at a time, since most runs a parser looks
// through end within a few dozen bytes, where memchr's call and set-up cost
// more than the search; memchr takes over beyond them.
inline std::size_t FindByte(std::string_view text, char byte, std::size_t from = 0) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    if (from >= text.size()) {
        return std::string_view::npos;
    }
    const auto nearEnd = from + std::min<std::size_t>(64, text.size() - from);
    auto i = from;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
        for (; i + 8 <= nearEnd; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            word ^= pattern; // the bytes equal to byte are now zero
            // The lowest zero byte sets the high bit of its place; places
            // above it may be set falsely, below it never.
            auto zeros = (word - kOnes) & ~word & kHighBits;
            if (zeros != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
            }
        }
    }
    for (; i < nearEnd; ++i) {
        if (text[i] == byte) {
            return i;
        }
    }
    return nearEnd >= text.size() ? std::string_view::npos : text.find(byte, nearEnd);
}

// The first place at or after from that holds a byte below limit (at
// most 128), such as a control character, or npos; eight bytes at a time.
inline std::size_t FindByteBelow(std::string_view text, unsigned char limit, std::size_t from = 0) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    auto i = from;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t below = kOnes * limit;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            // A byte under limit (and so under 128) sets its high bit here;
            // no byte before the first such one does.
            auto low = (word - below) & ~word & kHighBits;
            if (low != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(low)) / 8;
            }
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < limit) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The first place at or after from that holds byte or a NUL, or npos;
// eight bytes at a time.
inline std::size_t FindByteOrNul(std::string_view text, char byte, std::size_t from = 0) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    auto i = from;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            auto matches = word ^ pattern;
            // Each test flags its lowest zero byte exactly, as FindByte's.
            auto zeros = ((matches - kOnes) & ~matches) | ((word - kOnes) & ~word);
            zeros &= kHighBits;
            if (zeros != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
            }
        }
    }
    for (; i < text.size(); ++i) {
        if (text[i] == byte || text[i] == '\0') {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace tellavin
