#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Small text rules the file formats share. Letter case here is ASCII case:
// the keys, tags, extensions and program names compared this way are ASCII
// by definition, and other bytes compare as they are.

// The two texts are equal when ASCII letters are compared without case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The text with ASCII letters in lower case.
std::string LowerAscii(std::string_view text);

// The text without the blanks (space, tab, line breaks, vertical tab, form
// feed) at either end.
std::string_view TrimBlanks(std::string_view text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

} // namespace tellavin
