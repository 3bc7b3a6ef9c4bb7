#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace tellavin {

// A JSON document as a Chromium-family browser writes its "Bookmarks"
// file, so that a file it would write itself comes out byte for byte:
// members sorted by name, each on a line of its own indented by three
// spaces a level; arrays on one line as "[ a, b ]" ("[  ]" when empty)
// with their objects opened there; a line break after the last "}". A
// string escapes the quote, the backslash, "<" (as \u003C), the control
// characters (\b \f \n \r \t by name, the others as \u00XX), U+2028 and
// U+2029, and keeps every other character as UTF-8; invalid UTF-8 is
// written as U+FFFD. Lines end as the system's browser ends them (CR LF on
// Windows).
std::string ChromiumJsonText(const nlohmann::json& document);

} // namespace tellavin
