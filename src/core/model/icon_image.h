#pragma once

#include <cstdint>
#include <string_view>

namespace tellavin {

// The largest image a link may bring as its icon; anything larger is no
// favicon and would only cost memory.
inline constexpr std::uintmax_t kMaxLinkIconBytes = 1024 * 1024;

// Whether bytes are an image a link icon may show: not empty, at most
// kMaxLinkIconBytes, and starting the way a PNG, ICO, GIF, JPEG or BMP file
// or an SVG text starts. Only the start is looked at; the window that
// decodes the image still copes with one that turns out broken.
bool IsIconImage(std::string_view bytes);

} // namespace tellavin
