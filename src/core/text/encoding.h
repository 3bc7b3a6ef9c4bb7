#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Text crosses into the program at each file format's edge: bytes that are
// valid UTF-8 stay as they are, anything else is read as Windows-1252.

bool IsValidUtf8(std::string_view bytes);

// Every byte read as a Windows-1252 character. The five bytes that code page
// leaves undefined map to the C1 control of the same number, as Windows does.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
std::string DecodeToUtf8(std::string_view bytes);

// Removes a leading UTF-8 byte order mark.
std::string_view StripUtf8Bom(std::string_view bytes);

// Decodes the modified UTF-7 that Windows writes for the Unicode values of an
// Internet Shortcut: "+" starts a base-64 run of UTF-16 units, "-" or any
// character outside base 64 ends it, and "+-" is a plus sign.
std::string Utf7ToUtf8(std::string_view text);

// Appends the UTF-8 encoding of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace tellavin
