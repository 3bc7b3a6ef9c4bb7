#include "text/collation.h"

#include <cstdint>

namespace tellavin {

namespace {

// Base letters of U+00C0 to U+00FF, lower case; 0 where the character is no
// letter with a simple base (× ÷) and keeps its own place.
constexpr char kLatin1Base[64] = {
    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',
    'd', 'n', 'o', 'o', 'o', 'o', 'o', 0,   'o', 'u', 'u', 'u', 'u', 'y', 't', 's',
    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',
    'd', 'n', 'o', 'o', 'o', 'o', 'o', 0,   'o', 'u', 'u', 'u', 'u', 'y', 't', 'y',
};

// The next collation key of a name: a folded letter for ASCII and Latin-1
// letters, otherwise the code point itself shifted above every folded key
// so that other characters sort after the letters, by code point.
struct KeyReader {
    std::string_view text;
    std::size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }

    std::uint32_t Next() {
        auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            ++pos;
            if (byte >= 'A' && byte <= 'Z') {
                byte = static_cast<unsigned char>(byte - 'A' + 'a');
            }
            return byte;
        }
        std::uint32_t codePoint = DecodeOne();
        if (codePoint >= 0xC0 && codePoint <= 0xFF && kLatin1Base[codePoint - 0xC0] != 0) {
            return static_cast<unsigned char>(kLatin1Base[codePoint - 0xC0]);
        }
        return 0x100 + codePoint;
    }

    std::uint32_t DecodeOne() {
        auto lead = static_cast<unsigned char>(text[pos]);
        int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (pos + length > text.size() || length == 1) {
            ++pos;
            return lead;
        }
        std::uint32_t codePoint = lead & (0x7F >> length);
        for (int i = 1; i < length; ++i) {
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
        }
        pos += length;
        return codePoint;
    }
};

} // namespace

int CompareDisplayNames(std::string_view a, std::string_view b) {
    KeyReader left{a};
    KeyReader right{b};
    while (!left.AtEnd() && !right.AtEnd()) {
        std::uint32_t l = left.Next();
        std::uint32_t r = right.Next();
        if (l != r) {
            return l < r ? -1 : 1;
        }
    }
    if (!left.AtEnd() || !right.AtEnd()) {
        return left.AtEnd() ? -1 : 1;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace tellavin
