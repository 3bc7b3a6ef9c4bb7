#include "model/icon_image.h"

#include "text/ascii_text.h"

#include <array>

namespace tellavin {

namespace {

using namespace std::string_view_literals;

// The signatures of PNG, GIF and JPEG files, with their media types.
struct Signature {
    std::string_view start;
    std::string_view mediaType;
};
constexpr std::array kSignatures = {
    Signature{"\x89PNG\r\n\x1A\n"sv, "image/png"sv},
    Signature{"GIF87a"sv, "image/gif"sv},
    Signature{"GIF89a"sv, "image/gif"sv},
    Signature{"\xFF\xD8\xFF"sv, "image/jpeg"sv},
};

// An ICO file starts with a zero reserved word and type 1, then a count of
// images that is not zero.
bool IsIco(std::string_view bytes) {
    return bytes.starts_with("\0\0\1\0"sv) && bytes.size() >= 6 && (bytes[4] != 0 || bytes[5] != 0);
}

// A BMP file starts with "BM" and holds its 14-byte file header and at
// least the smallest (12-byte) bitmap header.
bool IsBmp(std::string_view bytes) {
    return bytes.starts_with("BM") && bytes.size() >= 26;
}

// An SVG text: after a byte order mark, blanks, an XML declaration,
// comments and a doctype, the first element is <svg>.
bool IsSvgText(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"sv)) {
        text.remove_prefix(3);
    }
    for (;;) {
        text = TrimBlanks(text);
        std::string_view end;
        if (text.starts_with("<?")) {
            end = "?>";
        } else if (text.starts_with("<!--")) {
            end = "-->";
        } else if (text.starts_with("<!")) {
            end = ">";
        } else {
            break;
        }
        auto at = text.find(end, 2);
        if (at == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(at + end.size());
    }
    return text.size() > 4 && EqualsIgnoringCase(text.substr(0, 4), "<svg") &&
           (text[4] == '>' || text[4] == '/' || TrimBlanks(text.substr(4, 1)).empty());
}

} // namespace

bool IsIconImage(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > kMaxLinkIconBytes) {
        return false;
    }
    for (auto signature : kSignatures) {
        if (bytes.starts_with(signature.start)) {
            return true;
        }
    }
    return IsIco(bytes) || IsBmp(bytes) || IsSvgText(bytes);
}

std::string_view IconMediaType(std::string_view bytes) {
    for (auto signature : kSignatures) {
        if (bytes.starts_with(signature.start)) {
            return signature.mediaType;
        }
    }
    if (IsIco(bytes)) {
        return "image/x-icon";
    }
    if (IsBmp(bytes)) {
        return "image/bmp";
    }
    return IsSvgText(bytes) ? "image/svg+xml" : "image/png";
}

bool IsIconAddress(std::string_view address) {
    auto colon = address.find(':');
    auto scheme = address.substr(0, colon);
    return colon != std::string_view::npos && address.size() > colon + 3 &&
           address.substr(colon, 3) == "://" &&
           (EqualsIgnoringCase(scheme, "http") || EqualsIgnoringCase(scheme, "https"));
}

} // namespace tellavin
