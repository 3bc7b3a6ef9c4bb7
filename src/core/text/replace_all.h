#pragma once

#include <string>
#include <string_view>

namespace tellavin {

// Replaces every occurrence of from (not empty) in text by to, left to
// right, never looking again at replaced text.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

} // namespace tellavin
