// Text that reaches a menu page from bookmark names and addresses: escaped
// for a JavaScript string it reads back as the same text and cannot end the
// string, the line or the script; escaped for HTML it holds no markup. And
// a whole page made from a tree of arbitrary names keeps its scripts
// closed.
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "model/file_tree_builder.h"
#include "targets/menu_page.h"
#include "targets/menu_text.h"
#include "text/ascii_text.h"
#include "text/encoding.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

using namespace tellavin;

namespace {

// The value of the body of a single-quoted JavaScript string as a script
// engine reads it (the escapes EscapeJsText uses, \xHH and \uHHHH), or
// nothing when the body would end the string or the line early.
std::optional<std::string> ReadJsString(std::string_view body) {
    std::string value;
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\'' || c == '\n' || c == '\r' || body.substr(i).starts_with("\xE2\x80\xA8") ||
            body.substr(i).starts_with("\xE2\x80\xA9")) {
            return std::nullopt;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == body.size()) {
            return std::nullopt;
        }
        switch (body[i]) {
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 'x':
        case 'u': {
            std::size_t digits = body[i] == 'x' ? 2 : 4;
            std::uint32_t code = 0;
            for (std::size_t d = 1; d <= digits; ++d) {
                int v = i + d < body.size() ? HexDigitValue(body[i + d]) : -1;
                if (v < 0) {
                    return std::nullopt;
                }
                code = code * 16 + static_cast<std::uint32_t>(v);
            }
            i += digits;
            if (code < 0x80) {
                value += static_cast<char>(code);
            } else { // U+2028 and U+2029, three bytes of UTF-8
                value += static_cast<char>(0xE0 | (code >> 12));
                value += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                value += static_cast<char>(0x80 | (code & 0x3F));
            }
            break;
        }
        default:
            value += body[i]; // \\ and \'
        }
    }
    return value;
}

// HTML text with the five references EscapeHtmlText writes read back, in
// one pass as a browser reads them.
std::string ReadHtmlText(std::string_view html) {
    static constexpr std::pair<std::string_view, char> kReferences[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string value;
    for (std::size_t i = 0; i < html.size();) {
        bool matched = false;
        for (auto [reference, c] : kReferences) {
            if (html.substr(i).starts_with(reference)) {
                value += c;
                i += reference.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            value += html[i++];
        }
    }
    return value;
}

std::size_t Occurrences(std::string_view text, std::string_view what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

void CheckEscaping(const std::string& text) {
    auto js = EscapeJsText(text);
    FUZZ_CHECK(js.find('<') == std::string::npos);
    FUZZ_CHECK(ReadJsString(js) == text);
    auto html = EscapeHtmlText(text);
    FUZZ_CHECK(html.find_first_of("<>\"'") == std::string::npos);
    FUZZ_CHECK(ReadHtmlText(html) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckEscaping(std::string(reinterpret_cast<const char*>(data), size));

    // A tree from the input: each piece a folder, a link or the end of a
    // folder, by the choice before it.
    fuzz::FuzzInput input(data, size);
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (int item = 0; item < 64 && !input.empty(); ++item) {
        switch (input.Choice(3)) {
        case 0:
            builder.BeginFolder(input.Piece());
            break;
        case 1: {
            auto name = input.Piece();
            builder.AddLink(name, "http://x/" + input.Piece());
            break;
        }
        default:
            builder.EndFolder();
        }
    }
    builder.Finish();
    NullProgress progress;
    MenuPageOptions options;
    options.bShowStatistics = true;
    auto page = ComposeMenuPage(tree, {}, options, progress);
    FUZZ_CHECK(Occurrences(page.text, "</script") == Occurrences(page.text, "<script"));
    return 0;
}
