#include "text/visible_text.h"

#include <utf8.h>

namespace tellavin {

namespace {

void AppendHex(std::string& out, std::string_view lead, std::uint32_t value, int digits) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.append(lead);
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out.push_back(kHex[(value >> shift) & 0xFu]);
    }
}

void AppendControl(std::string& out, char32_t c) {
    switch (c) {
    case '\r':
        out += "\\r";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (c < 0x80) {
            AppendHex(out, "\\x", c, 2);
        } else {
            AppendHex(out, "\\u", c, 4);
        }
    }
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

std::string VisibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    auto it = text.begin();
    while (it != text.end()) {
        auto start = it;
        try {
            char32_t c = utf8::next(it, text.end());
            if (IsControl(c)) {
                AppendControl(out, c);
            } else {
                out.append(start, it);
            }
        } catch (const utf8::exception&) {
            it = start + 1;
            AppendHex(out, "\\x", static_cast<unsigned char>(*start), 2);
        }
    }
    return out;
}

} // namespace tellavin
