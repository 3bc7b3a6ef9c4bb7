#include "targets/menu_text.h"

#include <cmath>
#include <utf8.h>

namespace tellavin {

std::string ColorToHtml(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string html = "#";
    for (int shift = 0; shift < 24; shift += 8) {
        auto byte = (value >> shift) & 0xFFu;
        html.push_back(kDigits[byte >> 4]);
        html.push_back(kDigits[byte & 0xFu]);
    }
    return html;
}

std::string EscapeJsText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\'':
            escaped += "\\'";
            break;
        case '<':
            escaped += "\\x3C";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\n':
            escaped += "\\n";
            break;
        default:
            // U+2028 and U+2029 end a line inside a script in older engines.
            if (text.substr(i).starts_with("\xE2\x80\xA8")) {
                escaped += "\\u2028";
                i += 2;
            } else if (text.substr(i).starts_with("\xE2\x80\xA9")) {
                escaped += "\\u2029";
                i += 2;
            } else {
                escaped.push_back(c);
            }
        }
    }
    return escaped;
}

std::string EscapeHtmlText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return escaped;
}

namespace {

// The number of characters of a UTF-8 text; a stray byte counts as one.
std::int64_t CharacterCount(const std::string& text) {
    std::int64_t count = 0;
    auto it = text.begin();
    while (it != text.end()) {
        try {
            utf8::next(it, text.end());
        } catch (const utf8::exception&) {
            ++it;
        }
        ++count;
    }
    return count;
}

// The text up to its count-th character.
std::string FirstCharacters(const std::string& text, std::int64_t count) {
    auto it = text.begin();
    for (std::int64_t i = 0; i < count && it != text.end(); ++i) {
        try {
            utf8::next(it, text.end());
        } catch (const utf8::exception&) {
            ++it;
        }
    }
    return std::string(text.begin(), it);
}

} // namespace

std::string FitTextToWidth(std::string text, std::int32_t width, const TextMeasure& measure) {
    const std::int32_t room = width - 20;
    bool cut = false;
    for (auto measured = measure.TextWidth(text); measured > room && !text.empty();
         measured = measure.TextWidth(text)) {
        cut = true;
        auto length = static_cast<double>(CharacterCount(text));
        auto keep = static_cast<std::int64_t>(std::floor(length * room / measured)) - 1;
        text = FirstCharacters(text, keep < 0 ? 0 : keep);
    }
    return cut ? text + "..." : text;
}

} // namespace tellavin
