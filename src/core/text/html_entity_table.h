#pragma once

#include <array>
#include <string_view>

namespace tellavin::detail {

// One named character reference of HTML: its name without the closing
// semicolon, its UTF-8 text, and whether the name is also recognised
// without the semicolon (the legacy names such as "amp" and "copy").
struct HtmlEntity {
    std::string_view name;
    std::string_view value;
    bool legacy;
};

// Every named character reference, sorted by name in byte order.
extern const std::array<HtmlEntity, 2125> kHtmlEntities;

} // namespace tellavin::detail
