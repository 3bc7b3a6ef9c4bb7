#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Decodes base64 the forgiving way browsers read it in data: URLs: ASCII
// whitespace anywhere is skipped and the closing "=" padding may be left
// out. Nothing when the text holds any other character, padding anywhere
// but at the end, or a length no base64 text can have.
std::optional<std::string> DecodeBase64(std::string_view text);

// Appends bytes as base64 with "=" padding and no line breaks.
void AppendBase64(std::string& out, std::string_view bytes);

// The value of a base64 digit ("A" to "Z", "a" to "z", "0" to "9", "+",
// "/"), or -1 for any other character.
int Base64DigitValue(char c);

} // namespace tellavin
