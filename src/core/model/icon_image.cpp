#include "model/icon_image.h"

#include "text/ascii_text.h"

#include <array>

namespace tellavin {

namespace {

using namespace std::string_view_literals;

// The signatures of PNG, GIF and JPEG files.
constexpr std::array kSignatures = {"\x89PNG\r\n\x1A\n"sv, "GIF87a"sv, "GIF89a"sv,
                                    "\xFF\xD8\xFF"sv};

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
        if (bytes.starts_with(signature)) {
            return true;
        }
    }
    return IsIco(bytes) || IsBmp(bytes) || IsSvgText(bytes);
}

} // namespace tellavin
