#pragma once

#include <cstdint>
#include <string_view>

namespace tellavin {

// Measures texts in the bold face of menu items, in whole pixels. The
// generator asks it for every item text; a GUI may measure with the real
// font, while BuiltinTextMeasure needs no display. A text wider than the
// largest std::int32_t measures as that largest width.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual std::int32_t TextWidth(std::string_view utf8) const = 0;
};

// The widths of DejaVu Sans Bold at 11 px (8.25 points on a 96-dpi screen)
// from a table built into the program: the same on every machine.
const TextMeasure& BuiltinTextMeasure();

} // namespace tellavin
