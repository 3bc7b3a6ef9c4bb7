#pragma once

#include <cstdint>
#include <string_view>

namespace tellavin {

// The largest image a link may bring as its icon: a favicon is a few
// kilobytes, and anything much larger would only cost memory and file size
// in every file that carries it.
inline constexpr std::uintmax_t kMaxLinkIconBytes = 64 * 1024;

// Whether bytes are an image a link icon may show: not empty, at most
// kMaxLinkIconBytes, and starting the way a PNG, ICO, GIF, JPEG or BMP file
// or an SVG text starts. Only the start is looked at; the window that
// decodes the image still copes with one that turns out broken.
bool IsIconImage(std::string_view bytes);

// The media type of an icon image ("image/png", "image/x-icon", ...), as a
// data: URL of it names it; "image/png" for bytes of no known kind.
std::string_view IconMediaType(std::string_view bytes);

// Whether an icon's address is worth keeping as where it came from: an
// http or https address. A browser's placeholder for an icon it has no
// address of ("fake-favicon-uri:..."), a data: URL or a local file is none.
bool IsIconAddress(std::string_view address);

} // namespace tellavin
