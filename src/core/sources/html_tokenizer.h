#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tellavin {

struct HtmlStartTag {
    std::string_view name; // lower case
    // The attributes, names in lower case and values decoded, in file order
    // with later duplicates dropped; only those the handler asked for.
    std::vector<std::pair<std::string, std::string>> attributes;
    // For each attribute, its value as a part of the tokenized text when
    // decoding left it as it stands there; empty otherwise.
    std::vector<std::string_view> sourceValues;

    // The value of an attribute, or nothing when the tag does not carry it.
    const std::string* Find(std::string_view attribute) const;
    // The attribute's value as a part of the tokenized text; empty when the
    // tag does not carry it or its value needed decoding.
    std::string_view FindInSource(std::string_view attribute) const;
};

// What the tokenizer reports, in document order.
class HtmlTokenHandler {
public:
    virtual ~HtmlTokenHandler() = default;
    // Whether the attributes of a start tag of this name are wanted.
    virtual bool WantsAttributes(std::string_view tagName) const = 0;
    // Of a tag whose attributes are wanted, whether this one (its name in
    // lower case) is: an attribute not wanted is neither decoded nor copied.
    virtual bool WantsAttribute(std::string_view tagName, std::string_view attribute) const {
        (void)tagName;
        (void)attribute;
        return true;
    }
    virtual void StartTag(const HtmlStartTag& tag) = 0;
    // An end tag; at is the position of its "<" in the text.
    virtual void EndTag(std::string_view name, std::size_t at) = 0;
    // A piece of text, its character references decoded; text comes in as
    // many pieces as the tokenizer likes.
    virtual void Text(std::string_view text) = 0;
};

// Splits HTML into tags and text the way a browser's tokenizer does, in one
// pass and without building a document: tag and attribute names in any case,
// attribute values double-quoted, single-quoted or bare, comments (also
// "<!...>" and "<?...>" ones) and the doctype skipped, the contents of
// <title> and <textarea> read as text with references, those of <script>,
// <style>, <xmp>, <iframe>, <noembed> and <noframes> as plain text, and
// everything after <plaintext> as text. A tag cut off by the end of the text
// is dropped. NUL characters are dropped from text.
//
// The text must be UTF-8 with line ends already turned into LF.
void TokenizeHtml(std::string_view text, HtmlTokenHandler& handler);

// Turns CR LF and lone CR into LF in place, as an HTML parser does before
// anything else.
void NormalizeLineEnds(std::string& text);

} // namespace tellavin
