#include "targets/menu_text.h"
#include "targets/text_width.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <map>

namespace tellavin {
namespace {

// Widths per character from a table, 10 px for any other character.
class CharacterMeasure final : public TextMeasure {
public:
    std::map<char, std::int32_t> widths;
    mutable int calls = 0;

    std::int32_t TextWidth(std::string_view text) const override {
        ++calls;
        std::int32_t width = 0;
        for (char c : text) {
            auto found = widths.find(c);
            width += found == widths.end() ? 10 : found->second;
        }
        return width;
    }
};

TEST(ColorToHtml, RedInTheLowByteComesFirst) {
    EXPECT_EQ(ColorToHtml(16777215), "#FFFFFF");
    EXPECT_EQ(ColorToHtml(4469555), "#333344");
    EXPECT_EQ(ColorToHtml(255), "#FF0000");
    EXPECT_EQ(ColorToHtml(16711680), "#0000FF");
    EXPECT_EQ(ColorToHtml(0), "#000000");
    EXPECT_EQ(ColorToHtml(0x0A0B0C), "#0C0B0A");   // single digits padded
    EXPECT_EQ(ColorToHtml(0x7F123456), "#563412"); // the high byte is no colour
}

TEST(EscapeJsText, BackslashThenApostrophe) {
    EXPECT_EQ(EscapeJsText("Bob's page at C:\\x"), "Bob\\'s page at C:\\\\x");
    EXPECT_EQ(EscapeJsText("\\'"), "\\\\\\'");
    EXPECT_EQ(EscapeJsText("\"quotes\" & >"), "\"quotes\" & >");
    EXPECT_EQ(EscapeJsText(""), "");
}

TEST(EscapeJsText, NothingCanLeaveTheStringOrTheScriptElement) {
    EXPECT_EQ(EscapeJsText("</script><script>alert(1)</script>"),
              "\\x3C/script>\\x3Cscript>alert(1)\\x3C/script>");
    EXPECT_EQ(EscapeJsText("<!--"), "\\x3C!--");
    EXPECT_EQ(EscapeJsText("a\r\nb\nc"), "a\\r\\nb\\nc");
    EXPECT_EQ(EscapeJsText("x\xE2\x80\xA8y\xE2\x80\xA9z"), "x\\u2028y\\u2029z");
    // Other characters of the same lead bytes stay as they are.
    EXPECT_EQ(EscapeJsText("\xE2\x80\xA6 \xE2\x82\xAC"), "\xE2\x80\xA6 \xE2\x82\xAC");
    EXPECT_EQ(EscapeJsText("cut\xE2\x80"), "cut\xE2\x80");
}

TEST(EscapeHtmlText, MarkupCharactersBecomeReferences) {
    EXPECT_EQ(EscapeHtmlText("Tom & Jerry's <b>\"best\"</b>"),
              "Tom &amp; Jerry&#39;s &lt;b&gt;&quot;best&quot;&lt;/b&gt;");
    EXPECT_EQ(EscapeHtmlText("Caf\xC3\xA9"), "Caf\xC3\xA9");
}

TEST(FitTextToWidth, ShortTextsStayWhole) {
    CharacterMeasure measure;
    EXPECT_EQ(FitTextToWidth(std::string(21, 'a'), 230, measure), std::string(21, 'a'));
    EXPECT_EQ(FitTextToWidth("", 230, measure), "");
}

TEST(FitTextToWidth, CutsInProportionUntilTheTextFits) {
    CharacterMeasure measure;
    // 300 px: keep floor(30 * 210 / 300) - 1 = 20 characters.
    EXPECT_EQ(FitTextToWidth(std::string(30, 'a'), 230, measure), std::string(20, 'a') + "...");
    // Wide letters first: 14 characters (320 px), then 8 (240 px), then 6.
    measure.widths = {{'M', 30}, {'a', 5}};
    measure.calls = 0;
    EXPECT_EQ(FitTextToWidth(std::string(10, 'M') + std::string(20, 'a'), 230, measure),
              "MMMMMM...");
    EXPECT_EQ(measure.calls, 4);
}

TEST(FitTextToWidth, NeverSplitsACharacter) {
    CharacterMeasure measure; // every byte 10 px: é weighs 20, € 30
    std::string text;
    for (int i = 0; i < 15; ++i) {
        text += "\xC3\xA9"; // é
    }
    // 15 characters, 300 px: keep floor(15 * 210 / 300) - 1 = 9 characters.
    std::string expected;
    for (int i = 0; i < 9; ++i) {
        expected += "\xC3\xA9";
    }
    EXPECT_EQ(FitTextToWidth(text, 230, measure), expected + "...");
}

TEST(FitTextToWidth, WidthSumPastThirtyTwoBitsLeftAHugeNameUncut) {
    // 200 million "W" of 12 px measure 2.4 billion pixels: the sum wrapped
    // to a negative width, which "fits", so the name went onto the page
    // whole.
    const auto& measure = BuiltinTextMeasure();
    EXPECT_EQ(measure.TextWidth(std::string(200'000'000, 'W')), INT32_MAX);
    auto fitted = FitTextToWidth(std::string(200'000'000, 'W'), 230, measure);
    EXPECT_EQ(fitted.size() < 100 ? fitted : "uncut, " + std::to_string(fitted.size()) + " bytes",
              std::string(16, 'W') + "...");
}

TEST(FitTextToWidth, ATextThatNeverFitsEndsEmpty) {
    CharacterMeasure measure;
    measure.widths = {{'W', 500}};
    EXPECT_EQ(FitTextToWidth("W", 230, measure), "...");
    EXPECT_EQ(FitTextToWidth("abc", 10, measure), "...");
}

TEST(BuiltinTextMeasure, DejaVuSansBoldAtElevenPixels) {
    const auto& measure = BuiltinTextMeasure();
    EXPECT_EQ(measure.TextWidth("W"), 12);
    EXPECT_EQ(measure.TextWidth("i"), 4);
    EXPECT_EQ(measure.TextWidth("My Favorites"), 80);
    EXPECT_EQ(measure.TextWidth("Caf\xC3\xA9"), 27);
    EXPECT_EQ(measure.TextWidth("\xD0\x96"), 13);    // Cyrillic Zhe, beyond the Latin cache
    EXPECT_EQ(measure.TextWidth("\xE4\xB8\x80"), 7); // no glyph: the missing-glyph box
    EXPECT_EQ(measure.TextWidth("\xFF"), measure.TextWidth("\xEF\xBF\xBD")); // stray byte
    EXPECT_EQ(measure.TextWidth(""), 0);
}

TEST(BuiltinTextMeasure, LongItemTextsAreCutToTheItemWidth) {
    const auto& measure = BuiltinTextMeasure();
    std::string name = "The Complete Guide to Everything You Ever Wanted to Know";
    ASSERT_GT(measure.TextWidth(name), 210);
    auto fitted = FitTextToWidth(name, 230, measure);
    ASSERT_TRUE(fitted.ends_with("..."));
    auto kept = fitted.substr(0, fitted.size() - 3);
    EXPECT_TRUE(name.starts_with(kept));
    EXPECT_LE(measure.TextWidth(kept), 210);
    EXPECT_GT(kept.size(), 20u);
}

} // namespace
} // namespace tellavin
