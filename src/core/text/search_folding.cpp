#include "text/search_folding.h"

#include "text/byte_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tellavin {

namespace {

// Base letters of U+00C0 to U+017F. A capital in the table stands for two
// letters (kPairs), '-' for a character that keeps its own form (× ÷).
constexpr char kLatinBases[] = "aaaaaaAceeeeiiiidnooooo-ouuuuyTS" // U+00C0
                               "aaaaaaAceeeeiiiidnooooo-ouuuuyTy" // U+00E0
                               "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiIIjjkkk"
                               "llllllllllnnnnnnnnnooooooOOrrrrrrsssssssstttttt"
                               "uuuuuuuuuuuuwwyyyzzzzzzs"; // to U+017F
static_assert(sizeof(kLatinBases) == 0x180 - 0xC0 + 1);

struct Pair {
    char code;
    const char* letters;
};
constexpr Pair kPairs[] = {{'A', "ae"}, {'T', "th"}, {'S', "ss"}, {'I', "ij"}, {'O', "oe"}};

void WriteCodePoint(char*& to, char32_t c) {
    // Only letters below U+0800 are ever written folded: two bytes.
    *to++ = static_cast<char>(0xC0 | (c >> 6));
    *to++ = static_cast<char>(0x80 | (c & 0x3F));
}

// The Greek letter without its accent, lowered; 0 for no Greek letter.
char32_t GreekFolded(char32_t c) {
    switch (c) {
    case 0x386:
    case 0x3AC:
        return 0x3B1; // alpha
    case 0x388:
    case 0x3AD:
        return 0x3B5; // epsilon
    case 0x389:
    case 0x3AE:
        return 0x3B7; // eta
    case 0x38A:
    case 0x390:
    case 0x3AA:
    case 0x3AF:
    case 0x3CA:
        return 0x3B9; // iota
    case 0x38C:
    case 0x3CC:
        return 0x3BF; // omicron
    case 0x38E:
    case 0x3AB:
    case 0x3B0:
    case 0x3CB:
    case 0x3CD:
        return 0x3C5; // upsilon
    case 0x38F:
    case 0x3CE:
        return 0x3C9; // omega
    case 0x3C2:
        return 0x3C3; // final sigma
    default:
        return c >= 0x391 && c <= 0x3A9 && c != 0x3A2 ? c + 32 : 0;
    }
}

// The Cyrillic letter lowered, ё as е; 0 for no Cyrillic capital or ё.
char32_t CyrillicFolded(char32_t c) {
    if (c == 0x401 || c == 0x451) {
        return 0x435;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 32;
    }
    return c >= 0x400 && c <= 0x40F ? c + 80 : 0;
}

// Writes the folded form of one two-byte character, never more than two
// bytes; false when it keeps its own.
bool WriteFoldedCodePoint(char*& to, char32_t c) {
    if (c >= 0xC0 && c < 0x180) {
        const char base = kLatinBases[c - 0xC0];
        if (base == '-') {
            return false;
        }
        if (base >= 'A' && base <= 'Z') {
            for (const auto& pair : kPairs) {
                if (pair.code == base) {
                    *to++ = pair.letters[0];
                    *to++ = pair.letters[1];
                }
            }
        } else {
            *to++ = base;
        }
        return true;
    }
    if (c >= 0x218 && c <= 0x21B) {
        *to++ = c < 0x21A ? 's' : 't';
        return true;
    }
    if (c >= 0x300 && c <= 0x36F) {
        return true; // a combining accent
    }
    if (auto folded = c < 0x400 ? GreekFolded(c) : CyrillicFolded(c); folded != 0) {
        WriteCodePoint(to, folded);
        return true;
    }
    return false;
}

// The length of the UTF-8 sequence at text[at], or 0 when none starts
// there; decoded into c. Only the two-byte sequences can fold, so longer
// ones are measured, not decoded.
std::size_t SequenceAt(std::string_view text, std::size_t at, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    c = length == 2 ? static_cast<char32_t>(((lead & 0x1F) << 6) |
                                            (static_cast<unsigned char>(text[at + 1]) & 0x3F))
                    : 0;
    return length;
}

} // namespace

void AppendFolded(std::string& out, std::string_view text) {
    // Folding never lengthens a text: the room is made once and written
    // through a pointer that never overtakes what it reads.
    const auto start = out.size();
    out.resize(start + text.size());
    char* to = out.data() + start;
    std::size_t at = 0;
    while (at < text.size()) {
        if (at + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + at, 8);
            if ((word & detail::kHighBits) == 0 && detail::BytesBelow(word, 0x20) == 0) {
                // Eight printable ASCII bytes: each capital gains the 0x20 bit.
                const auto fromA = word + detail::kOnes * (0x80 - 'A');
                const auto pastZ = word + detail::kOnes * (0x80 - 'Z' - 1);
                word |= (fromA & ~pastZ & detail::kHighBits) >> 2;
                std::memcpy(to, &word, 8);
                to += 8;
                at += 8;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            *to++ = byte < 0x20                  ? ' '
                    : byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32)
                                                 : static_cast<char>(byte);
            ++at;
            continue;
        }
        char32_t c = 0;
        const auto length = SequenceAt(text, at, c);
        if (length == 0) {
            *to++ = static_cast<char>(byte);
            ++at;
            continue;
        }
        if (length != 2 || !WriteFoldedCodePoint(to, c)) {
            to = std::copy_n(text.data() + at, length, to);
        }
        at += length;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

} // namespace tellavin
