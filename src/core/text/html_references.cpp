#include "text/html_references.h"

#include "text/ascii_text.h"
#include "text/encoding.h"
#include "text/html_entity_table.h"

#include <algorithm>

namespace tellavin {

namespace {

constexpr std::size_t kLongestName = 32;
constexpr std::size_t kLongestLegacyName = 6;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int DigitValue(char c, bool hex) {
    if (hex) {
        return HexDigitValue(c);
    }
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

const detail::HtmlEntity* SearchEntity(std::string_view name) {
    const auto& table = detail::kHtmlEntities;
    auto found = std::lower_bound(
        table.begin(), table.end(), name,
        [](const detail::HtmlEntity& entity, std::string_view key) { return entity.name < key; });
    return found != table.end() && found->name == name ? &*found : nullptr;
}

// "&amp;" is most of the references in bookmark files, in addresses above
// all, so it is found without a search.
const detail::HtmlEntity* FindEntity(std::string_view name) {
    static const auto* const kAmp = SearchEntity("amp");
    return name == "amp" ? kAmp : SearchEntity(name);
}

std::string CodePointText(char32_t value) {
    if (value >= 0x80 && value <= 0x9F) {
        return Windows1252ToUtf8(std::string(1, static_cast<char>(value)));
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        value = 0xFFFD;
    }
    std::string text;
    AppendUtf8(text, value);
    return text;
}

std::optional<HtmlReference> ReadNumeric(std::string_view text, std::size_t ampersand) {
    auto pos = ampersand + 2;
    bool hex = pos < text.size() && (text[pos] == 'x' || text[pos] == 'X');
    if (hex) {
        ++pos;
    }
    auto digitsStart = pos;
    char32_t value = 0;
    for (; pos < text.size() && DigitValue(text[pos], hex) >= 0; ++pos) {
        // Past the Unicode range the value no longer matters: it is U+FFFD.
        value = std::min<char32_t>(value * (hex ? 16 : 10) + DigitValue(text[pos], hex), 0x110000);
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    if (pos < text.size() && text[pos] == ';') {
        ++pos;
    }
    return HtmlReference{pos - ampersand, CodePointText(value)};
}

std::optional<HtmlReference> ReadNamed(std::string_view text, std::size_t ampersand,
                                       HtmlContext context) {
    auto start = ampersand + 1;
    auto end = start;
    while (end < text.size() && end - start <= kLongestName && IsAsciiAlnum(text[end])) {
        ++end;
    }
    auto run = text.substr(start, end - start);
    if (run.empty()) {
        return std::nullopt;
    }
    if (end < text.size() && text[end] == ';') {
        if (const auto* entity = FindEntity(run)) {
            return HtmlReference{run.size() + 2, std::string(entity->value)};
        }
    }
    // Without the semicolon only the legacy names count, the longest first.
    for (auto length = std::min(run.size(), kLongestLegacyName); length >= 2; --length) {
        const auto* entity = FindEntity(run.substr(0, length));
        if (entity == nullptr || !entity->legacy) {
            continue;
        }
        auto next = start + length;
        if (context == HtmlContext::Attribute && next < text.size() &&
            (text[next] == '=' || IsAsciiAlnum(text[next]))) {
            return std::nullopt;
        }
        return HtmlReference{length + 1, std::string(entity->value)};
    }
    return std::nullopt;
}

} // namespace

std::optional<HtmlReference> ReadHtmlReference(std::string_view text, std::size_t ampersand,
                                               HtmlContext context) {
    if (ampersand + 1 < text.size() && text[ampersand + 1] == '#') {
        return ReadNumeric(text, ampersand);
    }
    return ReadNamed(text, ampersand, context);
}

void AppendHtmlDecoded(std::string& out, std::string_view text, HtmlContext context) {
    std::size_t done = 0;
    for (auto amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', done)) {
        out.append(text.substr(done, amp - done));
        if (auto reference = ReadHtmlReference(text, amp, context)) {
            out += reference->text;
            done = amp + reference->length;
        } else {
            out += '&';
            done = amp + 1;
        }
    }
    out.append(text.substr(done));
}

} // namespace tellavin
