#pragma once

#include "targets/text_width.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// A colour number (red in the low byte, then green, then blue) as a page
// writes it: "#" and six upper-case hexadecimal digits, e.g. "#FF0000".
std::string ColorToHtml(std::uint32_t value);

// Makes text safe inside a single-quoted JavaScript string of the page's
// script: backslash and apostrophe are escaped, and so are "<" (so that no
// name can close or open a script element), carriage return, line feed and
// the line and paragraph separators U+2028 and U+2029. Nothing else changes.
std::string EscapeJsText(std::string_view text);

// Makes text safe as HTML element content or attribute value: & < > " and '
// become character references.
std::string EscapeHtmlText(std::string_view text);

// Shortens a text to fit an item of the given width: while the text measures
// more than width - 20 pixels it is cut, in proportion, to
// floor(characters * (width - 20) / measured) - 1 characters, and "..." is
// appended when anything was cut. Characters are Unicode code points, so a
// cut never splits one.
std::string FitTextToWidth(std::string text, std::int32_t width, const TextMeasure& measure);

} // namespace tellavin
