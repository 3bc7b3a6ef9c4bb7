#pragma once

#include <cstdint>
#include <span>

namespace tellavin::detail {

// Code points first..last all advance by width pixels.
struct WidthRun {
    char32_t first;
    char32_t last;
    std::int32_t width;
};

// DejaVu Sans Bold at 11 px, sorted by code point; generated from the font.
extern const std::span<const WidthRun> kBoldWidthRuns;
// The advance of a character the face has no glyph for.
extern const std::int32_t kMissingGlyphWidth;

} // namespace tellavin::detail
