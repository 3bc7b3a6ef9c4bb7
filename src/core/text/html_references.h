#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Where a character reference stands: attribute values keep a legacy name
// written without its semicolon when a letter, a digit or "=" follows
// ("?a=1&copy=2" stays as it is), text decodes it ("&copy2024" is "©2024").
enum class HtmlContext { Text, Attribute };

struct HtmlReference {
    std::size_t length = 0; // characters consumed, the "&" included
    std::string text;       // what they stand for, UTF-8
};

// Reads the character reference that the "&" at text[ampersand] begins, as
// an HTML parser reads it: the named references of HTML (the longest name
// that matches; the legacy names also without a semicolon), decimal and
// hexadecimal references (0, surrogates and values beyond Unicode give
// U+FFFD; 0x80 to 0x9F are read as Windows-1252). Nothing when the "&"
// stays a plain "&".
std::optional<HtmlReference> ReadHtmlReference(std::string_view text, std::size_t ampersand,
                                               HtmlContext context);

// Appends text with every character reference decoded.
void AppendHtmlDecoded(std::string& out, std::string_view text, HtmlContext context);

} // namespace tellavin
