#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// A start tag as the tokenizer reports it. Its values are parts of the
// tokenized text, or decoded copies the tag keeps until the next tag.
class HtmlStartTag {
public:
    std::string_view name; // lower case

    // An attribute is named by its place in the list of attributes the
    // handler wants of the tag (HtmlTokenHandler::WantedAttributes); a
    // place past that list names none.

    // Whether the tag carries the attribute.
    bool Has(std::size_t attribute) const {
        return attribute < wanted_.size() && values_[attribute].present;
    }
    // The attribute's value with its character references decoded, or
    // nothing when the tag does not carry it. Of an attribute given twice,
    // the first counts. Values are decoded only when asked for.
    std::optional<std::string_view> Find(std::size_t attribute) const;
    // The attribute's value as a part of the tokenized text; empty when the
    // tag does not carry it or decoding changes its value.
    std::string_view FindInSource(std::size_t attribute) const;

    // For the tokenizer: begins a tag of this name (lower case) that keeps
    // the wanted attributes.
    void Begin(std::string_view tagName, std::span<const std::string_view> wanted);
    // For the tokenizer: an attribute of the tag as it stands in the text,
    // its name in any case.
    void Offer(std::string_view attribute, std::string_view rawValue);

private:
    struct Value {
        bool present = false;
        std::string_view raw;
        mutable bool decoded = false;
        mutable std::string_view text;   // raw, or decodedText
        mutable std::string decodedText; // when raw holds a reference or a NUL
    };
    std::string_view Decoded(const Value& value) const;

    std::span<const std::string_view> wanted_;
    std::vector<Value> values_; // one per wanted attribute
};

// What the tokenizer reports, in document order.
class HtmlTokenHandler {
public:
    virtual ~HtmlTokenHandler() = default;
    // The attributes, in lower case, that the handler reads of start tags
    // of this name; an attribute not among them is neither decoded nor
    // kept. The names must stay valid as long as the tokenizer runs.
    virtual std::span<const std::string_view> WantedAttributes(std::string_view tagName) const {
        (void)tagName;
        return {};
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
// anything else. firstCr, when known, is the place of the first CR (npos
// for none), so that the text is not searched again.
void NormalizeLineEnds(std::string& text, std::optional<std::size_t> firstCr = std::nullopt);

} // namespace tellavin
