#include "sources/html_tokenizer.h"
#include "text/html_references.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

std::string Text(std::string_view html) {
    std::string out;
    AppendHtmlDecoded(out, html, HtmlContext::Text);
    return out;
}

std::string Attribute(std::string_view html) {
    std::string out;
    AppendHtmlDecoded(out, html, HtmlContext::Attribute);
    return out;
}

TEST(HtmlReferences, NamedReferencesTakeTheLongestKnownName) {
    EXPECT_EQ(Text("Tom &amp; Jerry &eacute; &AElig; &hellip;"),
              "Tom & Jerry \xC3\xA9 \xC3\x86 \xE2\x80\xA6");
    // "&notin;" is a name of its own; "&notit;" is "&not" followed by "it;".
    EXPECT_EQ(Text("&notin; &notit;"), "\xE2\x88\x89 \xC2\xACit;");
    // Only the legacy names work without the semicolon.
    EXPECT_EQ(Text("&copy2024 &hellip &amp"), "\xC2\xA9"
                                              "2024 &hellip &");
    // Unknown names and a lone ampersand stay as written.
    EXPECT_EQ(Text("AT&T &bogus; & &;"), "AT&T &bogus; & &;");
    // Decoding is one pass: an escaped reference stays a reference.
    EXPECT_EQ(Text("&amp;lt;"), "&lt;");
}

TEST(HtmlReferences, AttributesKeepLegacyNamesBeforeLettersDigitsAndEquals) {
    EXPECT_EQ(Attribute("?a=1&copy=2&not3&amp;x"), "?a=1&copy=2&not3&x");
    EXPECT_EQ(Attribute("?a=&copy"), "?a=\xC2\xA9");
    EXPECT_EQ(Attribute("&copy;=1"), "\xC2\xA9=1");
}

TEST(HtmlReferences, NumericReferencesFollowTheBrowserRules) {
    EXPECT_EQ(Text("&#233;&#xE9;&#XE9&#233x"), "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9x");
    EXPECT_EQ(Text("&#x1F600;"), "\xF0\x9F\x98\x80");
    // 0x80 to 0x9F read as Windows-1252; NUL, surrogates and values past
    // Unicode become U+FFFD.
    EXPECT_EQ(Text("&#128;&#150;"), "\xE2\x82\xAC\xE2\x80\x93");
    EXPECT_EQ(Text("&#0;&#xD800;&#x110000;&#99999999999999;"),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    // Without digits it is no reference.
    EXPECT_EQ(Text("&#; &#x; &#a"), "&#; &#x; &#a");
}

constexpr std::string_view kAttributesOfTheTests[] = {"href", "b", "c", "d", "icon", "add_date"};
constexpr std::string_view kHrefOnly[] = {"href"};

// Logs tokens, the attributes of <a> as the handler asks for them.
class Recorder final : public HtmlTokenHandler {
public:
    explicit Recorder(std::span<const std::string_view> wanted) : wanted_(wanted) {}
    std::span<const std::string_view> WantedAttributes(std::string_view name) const override {
        return name == "a" ? wanted_ : std::span<const std::string_view>();
    }
    void StartTag(const HtmlStartTag& tag) override {
        log += "<" + std::string(tag.name);
        for (std::size_t i = 0; i < wanted_.size(); ++i) {
            if (auto value = tag.Find(i)) {
                log += " " + std::string(wanted_[i]) + "=[" + std::string(*value) + "]";
            }
        }
        log += ">";
    }
    void EndTag(std::string_view name, std::size_t) override {
        log += "</" + std::string(name) + ">";
    }
    void Text(std::string_view text) override { log += text; }
    std::string log;

private:
    std::span<const std::string_view> wanted_;
};

std::string Tokens(std::string_view html,
                   std::span<const std::string_view> wanted = kAttributesOfTheTests) {
    Recorder recorder(wanted);
    TokenizeHtml(html, recorder);
    return recorder.log;
}

TEST(HtmlTokenizer, ReadsAttributesInAnyCaseAndQuoting) {
    EXPECT_EQ(Tokens("<A Href='x&amp;y' b=\"1>2\" c=bare d HREF=\"dropped\">t</A>"),
              "<a href=[x&y] b=[1>2] c=[bare] d=[]>t</a>");
    // Attributes of other tags are not kept; a tag cut off by the end is dropped.
    EXPECT_EQ(Tokens("<DT CLASS=x><H3 FOLDED>n</H3 junk><A HREF=\"open"), "<dt><h3>n</h3>");
    // Only the attributes the handler wants are kept, whatever their case.
    EXPECT_EQ(Tokens("<A ICON='data:,x' Href=1 href=2 ADD_DATE=3>", kHrefOnly), "<a href=[1]>");
}

TEST(HtmlTokenizer, SkipsCommentsAndReadsElementTextAsText) {
    EXPECT_EQ(Tokens("a<!-- <b> -->b<!---->c<!-->d<!x y>e<?pi>f</>g< h"), "abcdefg< h");
    EXPECT_EQ(Tokens("<title>x<b>&amp;</title >y"), "<title>x<b>&</title>y");
    EXPECT_EQ(Tokens("<script>a</scriptx>&amp;<a></script>"),
              "<script>a</scriptx>&amp;<a></script>");
    EXPECT_EQ(Tokens("<plaintext></plaintext><a>"), "<plaintext></plaintext><a>");
    EXPECT_EQ(Tokens("<!-- never closed <a>"), "");
}

TEST(HtmlTokenizer, NormalizesLineEndsLikeABrowser) {
    std::string text = "a\r\nb\rc\n\r\n";
    NormalizeLineEnds(text);
    EXPECT_EQ(text, "a\nb\nc\n\n");
}

} // namespace
} // namespace tellavin
