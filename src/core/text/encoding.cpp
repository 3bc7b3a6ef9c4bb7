#include "text/encoding.h"

#include "text/base64.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utf8.h>

namespace tellavin {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Turns UTF-16 units into UTF-8, pairing surrogates; a lone surrogate
// becomes U+FFFD.
void AppendUtf16(std::string& out, const std::u16string& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
        }
        AppendUtf8(out, unit);
    }
}

// The length of the well-formed UTF-8 sequence at bytes[at], whose lead byte
// is not ASCII; 0 when it is malformed (a stray continuation byte, an overlong
// form, a surrogate, a value beyond U+10FFFF or a sequence cut short).
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    auto byte = [&](std::size_t i) {
        return at + i < bytes.size() ? static_cast<unsigned char>(bytes[at + i]) : 0u;
    };
    auto continues = [](unsigned value) { return (value & 0xC0) == 0x80; };
    const unsigned lead = byte(0);
    const unsigned second = byte(1);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return continues(second) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : 0xBF;
        return second >= low && second <= high && continues(byte(2)) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
        return second >= low && second <= high && continues(byte(2)) && continues(byte(3)) ? 4
                                                                                           : 0;
    }
    return 0;
}

} // namespace

// Runs of ASCII, most of a bookmark file, are passed eight bytes at a time;
// only the other characters are decoded.
bool IsValidUtf8(std::string_view bytes) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & kHighBits) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        auto length = SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    utf8::append(static_cast<std::uint32_t>(codePoint), std::back_inserter(out));
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char byte : bytes) {
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
        } else if (byte < 0xA0) {
            AppendUtf8(out, kWindows1252High[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string DecodeToUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::string_view StripUtf8Bom(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return bytes;
}

std::string Utf7ToUtf8(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '+') {
            out.push_back(c);
            ++i;
            continue;
        }
        ++i;
        if (i < text.size() && text[i] == '-') {
            out.push_back('+');
            ++i;
            continue;
        }
        std::u16string units;
        std::uint32_t bits = 0;
        int bitCount = 0;
        while (i < text.size() && Base64DigitValue(text[i]) >= 0) {
            bits = (bits << 6) | static_cast<std::uint32_t>(Base64DigitValue(text[i]));
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                units.push_back(static_cast<char16_t>((bits >> bitCount) & 0xFFFF));
            }
            ++i;
        }
        AppendUtf16(out, units);
        if (i < text.size() && text[i] == '-') {
            ++i; // the run's terminator is not part of the text
        }
    }
    return out;
}

} // namespace tellavin
