#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// The bytes a data: URL carries ("data:[media type][;base64],data", as
// browsers export favicons): the data percent-decoded, then base64-decoded
// when the media type ends in ";base64". Nothing when the text is no data:
// URL (another scheme, no comma) or its base64 is broken. The media type is
// not checked: what the bytes are is for the caller to tell.
std::optional<std::string> DecodeDataUrl(std::string_view url);

} // namespace tellavin
