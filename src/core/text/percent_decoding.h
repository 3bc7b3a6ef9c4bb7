#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// The text with every "%" followed by two hexadecimal digits replaced by
// the byte they name; any other "%" stays as it is.
std::string PercentDecode(std::string_view text);

} // namespace tellavin
