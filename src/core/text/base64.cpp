#include "text/base64.h"

#include <cstdint>

namespace tellavin {

namespace {

bool IsBase64Space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

} // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (!IsBase64Space(c)) {
            digits.push_back(c);
        }
    }
    // Padding counts only where it completes the last group of four.
    if (digits.size() % 4 == 0) {
        for (int i = 0; i < 2 && !digits.empty() && digits.back() == '='; ++i) {
            digits.pop_back();
        }
    }
    if (digits.size() % 4 == 1) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(digits.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : digits) {
        auto value = Base64DigitValue(c);
        if (value < 0) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if (++count == 4) {
            bytes.push_back(static_cast<char>(bits >> 16));
            bytes.push_back(static_cast<char>(bits >> 8));
            bytes.push_back(static_cast<char>(bits));
            bits = 0;
            count = 0;
        }
    }
    // Two or three digits left over hold one or two bytes; the spare low
    // bits are dropped.
    if (count == 2) {
        bytes.push_back(static_cast<char>(bits >> 4));
    } else if (count == 3) {
        bytes.push_back(static_cast<char>(bits >> 10));
        bytes.push_back(static_cast<char>(bits >> 2));
    }
    return bytes;
}

int Base64DigitValue(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    return c == '+' ? 62 : c == '/' ? 63 : -1;
}

void AppendBase64(std::string& out, std::string_view bytes) {
    constexpr const char* kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
            static_cast<unsigned char>(bytes[at + 2]);
        out += {kDigits[group >> 18], kDigits[(group >> 12) & 63], kDigits[(group >> 6) & 63],
                kDigits[group & 63]};
    }
    auto left = bytes.size() - at;
    if (left == 0) {
        return;
    }
    std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 16;
    if (left == 2) {
        group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    }
    out += {kDigits[group >> 18], kDigits[(group >> 12) & 63],
            left == 2 ? kDigits[(group >> 6) & 63] : '=', '='};
}

} // namespace tellavin
