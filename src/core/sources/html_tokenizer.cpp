#include "sources/html_tokenizer.h"

#include "text/ascii_text.h"
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

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == y; });
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
            auto open = text_.find('<', pos_);
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
        std::size_t done = 0;
        while (done < text.size()) {
            static constexpr ByteSet kReferenceOrNul("&\0"sv);
            auto special = references ? kReferenceOrNul.FindIn(text, done) : text.find('\0', done);
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
        bool keep = !isEnd && handler_.WantsAttributes(name_);
        RecycleAttributes();
        if (!Attributes(i, keep)) {
            pos_ = text_.size();
            return;
        }
        pos_ = i;
        if (isEnd) {
            handler_.EndTag(name_, nameStart - 2);
            return;
        }
        tag_.name = name_;
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
                    auto close = text_.find(text_[i], i + 1);
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
                attribute_.assign(name);
                std::transform(attribute_.begin(), attribute_.end(), attribute_.begin(), Lower);
                if (handler_.WantsAttribute(name_, attribute_)) {
                    Keep(value);
                }
            }
        }
    }

    // Keeps the value of the attribute named attribute_.
    void Keep(std::string_view rawValue) {
        if (tag_.Find(attribute_) != nullptr) {
            return;
        }
        std::string value;
        if (!spareValues_.empty()) {
            value = std::move(spareValues_.back());
            spareValues_.pop_back();
            value.clear();
        }
        AppendHtmlDecoded(value, rawValue, HtmlContext::Attribute);
        if (value.find('\0') != std::string::npos) {
            ReplaceAll(value, "\0"sv, "\xEF\xBF\xBD");
        }
        tag_.sourceValues.push_back(value == rawValue ? rawValue : std::string_view());
        tag_.attributes.emplace_back(attribute_, std::move(value));
    }

    // Empties the attributes of the last tag, keeping their values' memory
    // for the next ones: a file of a million links decodes millions of them.
    void RecycleAttributes() {
        for (auto& attribute : tag_.attributes) {
            spareValues_.push_back(std::move(attribute.second));
        }
        tag_.attributes.clear();
        tag_.sourceValues.clear();
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
            if (EqualsIgnoringCase(text_.substr(close + 2, name_.size()), name_) &&
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
    std::string attribute_; // the attribute being read, lower case
    HtmlStartTag tag_;
    std::vector<std::string> spareValues_;
};

} // namespace

const std::string* HtmlStartTag::Find(std::string_view attribute) const {
    for (const auto& [name, value] : attributes) {
        if (name == attribute) {
            return &value;
        }
    }
    return nullptr;
}

std::string_view HtmlStartTag::FindInSource(std::string_view attribute) const {
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (attributes[i].first == attribute) {
            return sourceValues[i];
        }
    }
    return {};
}

void TokenizeHtml(std::string_view text, HtmlTokenHandler& handler) {
    Tokenizer(text, handler).Run();
}

void NormalizeLineEnds(std::string& text) {
    auto first = text.find('\r');
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
