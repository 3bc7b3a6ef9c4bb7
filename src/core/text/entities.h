#pragma once

#include <string>

namespace tellavin {

// Replaces, in this order and each time everywhere, "&amp;", "&#39;",
// "&gt;", "&lt;", "&quot;" and "&apos;" by their characters. Because
// "&amp;" goes first, "&amp;lt;" ends up as "<". Other entities stay.
std::string DecodeEntities(std::string text);

} // namespace tellavin
