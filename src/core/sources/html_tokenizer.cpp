#include "sources/html_tokenizer.h"

#include "text/ascii_text.h"
#include "text/byte_search.h"
#include "text/byte_set.h"
#include "text/html_references.h"
#include "text/replace_all.h"

#include <algorithm>

namespace tellavin {

namespace {

using namespace std::string_view_literals;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Whether text, in any case, is lower, given in lower case.
bool MatchesLowerCase(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(),
                                                     [](char x, char y) { return Lower(x) == y; });
}

// Whether text holds a reference or a NUL; most text and values hold
// neither, and this tells eight bytes at a time.
bool NeedsDecoding(std::string_view text) {
    return FindByteOrNul(text, '&') != std::string_view::npos;
}

// How the content of an element is read.
enum class Content { Markup, EscapableText, RawText, PlainText };

Content ContentOf(std::string_view tag) {
    // The tags of a bookmark file (a, dt, dl, h3, p) are none of these, and
    // their first letter says so.
    switch (tag.empty() ? '\0' : tag.front()) {
    case 't':
    case 's':
    case 'x':
    case 'i':
    case 'n':
    case 'p':
        break;
    default:
        return Content::Markup;
    }
    if (tag == "title" || tag == "textarea") {
        return Content::EscapableText;
    }
    for (auto raw : {"script"sv, "style"sv, "xmp"sv, "iframe"sv, "noembed"sv, "noframes"sv}) {
        if (tag == raw) {
            return Content::RawText;
        }
    }
    return tag == "plaintext" ? Content::PlainText : Content::Markup;
}

class Tokenizer {
public:
    Tokenizer(std::string_view text, HtmlTokenHandler& handler) : text_(text), handler_(handler) {}

    void Run() {
        while (pos_ < text_.size()) {
            auto open = FindByte(text_, '<', pos_);
            if (open == std::string_view::npos) {
                open = text_.size();
            }
            EmitText(text_.substr(pos_, open - pos_), true);
            pos_ = open;
            if (pos_ < text_.size()) {
                Markup();
            }
        }
    }

private:
    // Text with NUL characters dropped and, when asked, references decoded.
    void EmitText(std::string_view text, bool references) {
        if (references && !NeedsDecoding(text)) {
            if (!text.empty()) {
                handler_.Text(text);
            }
            return;
        }
        std::size_t done = 0;
        while (done < text.size()) {
            auto special = references ? FindByteOrNul(text, '&', done) : text.find('\0', done);
            if (special == std::string_view::npos) {
                special = text.size();
            }
            if (special > done) {
                handler_.Text(text.substr(done, special - done));
            }
            if (special == text.size()) {
                return;
            }
            if (text[special] == '\0') {
                done = special + 1;
            } else if (auto reference = ReadHtmlReference(text, special, HtmlContext::Text)) {
                handler_.Text(reference->text);
                done = special + reference->length;
            } else {
                handler_.Text("&");
                done = special + 1;
            }
        }
    }

    char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

    // pos_ is at a "<".
    void Markup() {
        auto next = pos_ + 1;
        if (next >= text_.size()) {
            handler_.Text("<");
            pos_ = text_.size();
        } else if (IsAlpha(text_[next])) {
            Tag(next, false);
        } else if (text_[next] == '/') {
            if (IsAlpha(At(next + 1))) {
                Tag(next + 1, true);
            } else if (At(next + 1) == '>') {
                pos_ = next + 2;
            } else if (next + 1 >= text_.size()) {
                handler_.Text("</");
                pos_ = text_.size();
            } else {
                SkipTo(">", next + 1);
            }
        } else if (text_[next] == '!' && text_.substr(next, 3) == "!--") {
            Comment(next + 3);
        } else if (text_[next] == '!' || text_[next] == '?') {
            SkipTo(">", next);
        } else {
            handler_.Text("<");
            pos_ = next;
        }
    }

    // Moves past the next occurrence of end, or to the end of the text.
    void SkipTo(std::string_view end, std::size_t from) {
        auto found = text_.find(end, from);
        pos_ = found == std::string_view::npos ? text_.size() : found + end.size();
    }

    // A comment runs from "<!--" to "-->" or "--!>"; "<!-->" and "<!--->"
    // are complete empty comments.
    void Comment(std::size_t start) {
        if (At(start) == '>') {
            pos_ = start + 1;
            return;
        }
        if (At(start) == '-' && At(start + 1) == '>') {
            pos_ = start + 2;
            return;
        }
        for (auto dashes = text_.find("--", start); dashes != std::string_view::npos;
             dashes = text_.find("--", dashes + 1)) {
            if (At(dashes + 2) == '>') {
                pos_ = dashes + 3;
                return;
            }
            if (At(dashes + 2) == '!' && At(dashes + 3) == '>') {
                pos_ = dashes + 4;
                return;
            }
        }
        pos_ = text_.size();
    }

    // Reads a tag whose name starts at nameStart; returns with pos_ after
    // the tag, or at the end when the text ends inside it.
    void Tag(std::size_t nameStart, bool isEnd) {
        static constexpr ByteSet kTagNameEnd(" \t\n\f\r/>");
        auto i = std::min(kTagNameEnd.FindIn(text_, nameStart), text_.size());
        name_.assign(text_.substr(nameStart, i - nameStart));
        std::transform(name_.begin(), name_.end(), name_.begin(), Lower);
        auto wanted =
            isEnd ? std::span<const std::string_view>() : handler_.WantedAttributes(name_);
        tag_.Begin(name_, wanted);
        if (!Attributes(i, !wanted.empty())) {
            pos_ = text_.size();
            return;
        }
        pos_ = i;
        if (isEnd) {
            handler_.EndTag(name_, nameStart - 2);
            return;
        }
        handler_.StartTag(tag_);
        auto content = ContentOf(name_);
        if (content == Content::PlainText) {
            EmitText(text_.substr(pos_), false);
            pos_ = text_.size();
        } else if (content != Content::Markup) {
            ElementText(content == Content::EscapableText);
        }
    }

    // Reads attributes from i up to and past the closing ">"; false when
    // the text ends first.
    bool Attributes(std::size_t& i, bool keep) {
        for (;;) {
            while (i < text_.size() && (IsSpace(text_[i]) || text_[i] == '/')) {
                ++i;
            }
            if (i >= text_.size()) {
                return false;
            }
            if (text_[i] == '>') {
                ++i;
                return true;
            }
            static constexpr ByteSet kAttributeNameEnd(" \t\n\f\r/>=");
            auto nameStart = i;
            i = std::min(kAttributeNameEnd.FindIn(text_, i + 1), text_.size());
            auto name = text_.substr(nameStart, i - nameStart);
            while (i < text_.size() && IsSpace(text_[i])) {
                ++i;
            }
            std::string_view value;
            if (At(i) == '=') {
                ++i;
                while (i < text_.size() && IsSpace(text_[i])) {
                    ++i;
                }
                if (i >= text_.size()) {
                    return false;
                }
                if (text_[i] == '"' || text_[i] == '\'') {
                    auto close = FindByte(text_, text_[i], i + 1);
                    if (close == std::string_view::npos) {
                        return false;
                    }
                    value = text_.substr(i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    static constexpr ByteSet kBareValueEnd(" \t\n\f\r>");
                    auto start = i;
                    i = std::min(kBareValueEnd.FindIn(text_, i), text_.size());
                    value = text_.substr(start, i - start);
                }
            }
            if (keep) {
                tag_.Offer(name, value);
            }
        }
    }

    // The text of a <title>-like element, up to its end tag, which the main
    // loop then reads.
    void ElementText(bool references) {
        auto search = pos_;
        for (;;) {
            auto close = text_.find("</", search);
            if (close == std::string_view::npos) {
                EmitText(text_.substr(pos_), references);
                pos_ = text_.size();
                return;
            }
            auto after = close + 2 + name_.size();
            if (MatchesLowerCase(text_.substr(close + 2, name_.size()), name_) &&
                (after >= text_.size() || IsSpace(text_[after]) || text_[after] == '/' ||
                 text_[after] == '>')) {
                EmitText(text_.substr(pos_, close - pos_), references);
                pos_ = close;
                return;
            }
            search = close + 2;
        }
    }

    std::string_view text_;
    HtmlTokenHandler& handler_;
    std::size_t pos_ = 0;
    std::string name_;
    HtmlStartTag tag_;
};

} // namespace

void HtmlStartTag::Begin(std::string_view tagName, std::span<const std::string_view> wanted) {
    name = tagName;
    wanted_ = wanted;
    if (values_.size() < wanted.size()) {
        values_.resize(wanted.size());
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        values_[i].present = false;
    }
}

void HtmlStartTag::Offer(std::string_view attribute, std::string_view rawValue) {
    for (std::size_t i = 0; i < wanted_.size(); ++i) {
        if (MatchesLowerCase(attribute, wanted_[i])) {
            auto& value = values_[i];
            if (!value.present) {
                value.present = true;
                value.raw = rawValue;
                value.decoded = false;
            }
            return;
        }
    }
}

// A value without "&" or NUL reads as it stands; others are decoded once,
// with NUL characters made U+FFFD as a browser makes them.
std::string_view HtmlStartTag::Decoded(const Value& value) const {
    if (value.decoded) {
        return value.text;
    }
    value.decoded = true;
    value.text = value.raw;
    if (NeedsDecoding(value.raw)) {
        value.decodedText.clear();
        AppendHtmlDecoded(value.decodedText, value.raw, HtmlContext::Attribute);
        if (value.decodedText.find('\0') != std::string::npos) {
            ReplaceAll(value.decodedText, "\0"sv, "\xEF\xBF\xBD");
        }
        if (value.decodedText != value.raw) {
            value.text = value.decodedText;
        }
    }
    return value.text;
}

std::optional<std::string_view> HtmlStartTag::Find(std::size_t attribute) const {
    if (!Has(attribute)) {
        return std::nullopt;
    }
    return Decoded(values_[attribute]);
}

std::string_view HtmlStartTag::FindInSource(std::size_t attribute) const {
    if (!Has(attribute)) {
        return {};
    }
    const auto& value = values_[attribute];
    auto text = Decoded(value);
    return text.data() == value.raw.data() ? text : std::string_view();
}

void TokenizeHtml(std::string_view text, HtmlTokenHandler& handler) {
    Tokenizer(text, handler).Run();
}

void NormalizeLineEnds(std::string& text, std::optional<std::size_t> firstCr) {
    auto first = firstCr ? *firstCr : text.find('\r');
    if (first == std::string::npos) {
        return;
    }
    auto out = first;
    for (auto in = first; in < text.size(); ++in) {
        if (text[in] != '\r') {
            text[out++] = text[in];
            continue;
        }
        text[out++] = '\n';
        if (in + 1 < text.size() && text[in + 1] == '\n') {
            ++in;
        }
    }
    text.resize(out);
}

} // namespace tellavin
