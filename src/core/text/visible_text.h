#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// A name or path as a terminal or log may show it: nothing in it can move
// the cursor, end the line or start an escape sequence. Carriage return,
// line feed and tab become \r, \n and \t; every other control character
// (C0 and DEL) becomes \x and two hexadecimal digits, a C1 control (U+0080
// to U+009F) \u and four, and a byte that is not part of valid UTF-8 \x and
// two. Everything else, backslashes included, stays as it is.
std::string VisibleText(std::string_view text);

} // namespace tellavin
