#include "text/search_folding.h"

#include <cstdint>

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

void AppendCodePoint(std::string& out, char32_t c) {
    // Only letters below U+0800 are ever written folded: two bytes.
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
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

// Appends the folded form of one character; false when it keeps its own.
bool AppendFoldedCodePoint(std::string& out, char32_t c) {
    if (c >= 0xC0 && c < 0x180) {
        const char base = kLatinBases[c - 0xC0];
        if (base == '-') {
            return false;
        }
        if (base >= 'A' && base <= 'Z') {
            for (const auto& pair : kPairs) {
                if (pair.code == base) {
                    out += pair.letters;
                }
            }
        } else {
            out.push_back(base);
        }
        return true;
    }
    if (c >= 0x218 && c <= 0x21B) {
        out.push_back(c < 0x21A ? 's' : 't');
        return true;
    }
    if (c >= 0x300 && c <= 0x36F) {
        return true; // a combining accent
    }
    if (auto folded = c < 0x400 ? GreekFolded(c) : CyrillicFolded(c); folded != 0) {
        AppendCodePoint(out, folded);
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
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            out.push_back(byte < 0x20                  ? ' '
                          : byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32)
                                                       : static_cast<char>(byte));
            ++at;
            continue;
        }
        char32_t c = 0;
        const auto length = SequenceAt(text, at, c);
        if (length == 0) {
            out.push_back(static_cast<char>(byte));
            ++at;
            continue;
        }
        if (length != 2 || !AppendFoldedCodePoint(out, c)) {
            out.append(text.substr(at, length));
        }
        at += length;
    }
}

} // namespace tellavin
