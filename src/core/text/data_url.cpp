#include "text/data_url.h"

#include "text/ascii_text.h"
#include "text/base64.h"
#include "text/percent_decoding.h"

namespace tellavin {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// Whether the media type asks for base64: it ends in ";base64", in any case
// and with spaces allowed after the semicolon.
bool SaysBase64(std::string_view mediaType) {
    constexpr std::string_view kBase64 = "base64";
    mediaType = TrimBlanks(mediaType);
    if (mediaType.size() < kBase64.size() ||
        !EqualsIgnoringCase(mediaType.substr(mediaType.size() - kBase64.size()), kBase64)) {
        return false;
    }
    mediaType = TrimSpaces(mediaType.substr(0, mediaType.size() - kBase64.size()));
    return !mediaType.empty() && mediaType.back() == ';';
}

} // namespace

std::optional<std::string> DecodeDataUrl(std::string_view url) {
    constexpr std::string_view kScheme = "data:";
    url = TrimBlanks(url);
    if (url.size() < kScheme.size() ||
        !EqualsIgnoringCase(url.substr(0, kScheme.size()), kScheme)) {
        return std::nullopt;
    }
    url.remove_prefix(kScheme.size());
    auto comma = url.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    auto data = PercentDecode(url.substr(comma + 1));
    if (!SaysBase64(url.substr(0, comma))) {
        return data;
    }
    return DecodeBase64(data);
}

} // namespace tellavin
