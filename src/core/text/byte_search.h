#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tellavin {

namespace detail {

inline constexpr std::uint64_t kOnes = 0x0101010101010101u;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each byte of word that is below limit (at most 128). The
// lowest such byte is flagged exactly; bytes above it may be flagged
// falsely, bytes below it never, so the lowest flag is always a match.
constexpr std::uint64_t BytesBelow(std::uint64_t word, unsigned char limit) {
    return (word - kOnes * limit) & ~word & kHighBits;
}

// The first place in [from, end) whose byte matches, or end: eight bytes at
// a time where the flags of a word (flagged, true to BytesBelow's rule)
// tell, one at a time for the rest.
template <typename Flagged, typename Matches>
std::size_t SearchBytes(std::string_view text, std::size_t from, std::size_t end, Flagged flagged,
                        Matches matches) {
    auto i = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= end; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if (auto flags = flagged(word); flags != 0) {
                return i + static_cast<std::size_t>(std::countr_zero(flags)) / 8;
            }
        }
    }
    for (; i < end; ++i) {
        if (matches(text[i])) {
            return i;
        }
    }
    return end;
}

} // namespace detail

// The first place at or after from that holds byte, or npos. The first 64
// bytes are searched here, eight at a time, since most runs a parser looks
// through end within a few dozen bytes, where memchr's call and set-up cost
// more than the search; memchr takes over beyond them.
inline std::size_t FindByte(std::string_view text, char byte, std::size_t from = 0) {
    if (from >= text.size()) {
        return std::string_view::npos;
    }
    const auto nearEnd = from + std::min<std::size_t>(64, text.size() - from);
    const auto pattern = detail::kOnes * static_cast<unsigned char>(byte);
    auto found = detail::SearchBytes(
        text, from, nearEnd,
        [&](std::uint64_t word) { return detail::BytesBelow(word ^ pattern, 1); },
        [&](char c) { return c == byte; });
    if (found < nearEnd) {
        return found;
    }
    return nearEnd >= text.size() ? std::string_view::npos : text.find(byte, nearEnd);
}

// The first place at or after from that holds a byte below limit (at most
// 128), such as a control character, or npos; eight bytes at a time.
inline std::size_t FindByteBelow(std::string_view text, unsigned char limit, std::size_t from = 0) {
    auto found = detail::SearchBytes(
        text, from, text.size(),
        [&](std::uint64_t word) { return detail::BytesBelow(word, limit); },
        [&](char c) { return static_cast<unsigned char>(c) < limit; });
    return found >= text.size() ? std::string_view::npos : found;
}

// The first place at or after from that holds byte or a NUL, or npos;
// eight bytes at a time.
inline std::size_t FindByteOrNul(std::string_view text, char byte, std::size_t from = 0) {
    const auto pattern = detail::kOnes * static_cast<unsigned char>(byte);
    auto found = detail::SearchBytes(
        text, from, text.size(),
        [&](std::uint64_t word) {
            return detail::BytesBelow(word ^ pattern, 1) | detail::BytesBelow(word, 1);
        },
        [&](char c) { return c == byte || c == '\0'; });
    return found >= text.size() ? std::string_view::npos : found;
}

} // namespace tellavin
