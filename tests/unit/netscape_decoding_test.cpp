#include "sources/netscape_reader.h"

#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

struct LargeTextCase {
    const char* what;
    std::string atMiddle;   // written so that it starts this many bytes before the middle
    std::size_t before;
    bool utf8;
};

// A text of 32 MiB and more is checked in two halves at once. Whatever
// stands across the middle, it is UTF-8 exactly when a one-piece check
// says so, and a CR only in the second half is still turned into LF.
TEST(NetscapeDecoding, LargeTextsReadAsOnePieceWhateverStandsAcrossTheMiddle) {
    const std::size_t size = (std::size_t{32} << 20) + 2;
    const LargeTextCase cases[] = {
        {"two-byte character across", "\xC3\xA9", 1, true},
        {"four-byte character, one byte before", "\xF0\x9F\x98\x80", 1, true},
        {"four-byte character, three bytes before", "\xF0\x9F\x98\x80", 3, true},
        {"continuation bytes with no start", "\x80\x80\x80\x80\x80", 2, false},
        {"a character cut short at the middle", "\xE2\x82z", 1, false},
    };
    for (const auto& c : cases) {
        std::string text(size, 'a');
        text.replace(size / 2 - c.before, c.atMiddle.size(), c.atMiddle);
        text.replace(size - 10, 2, "\r\n");
        auto expected = text;
        expected.erase(size - 10, 1);
        auto decoded = DecodeNetscapeBytes(text);
        EXPECT_EQ(decoded.windows1252, !c.utf8) << c.what;
        if (c.utf8) {
            EXPECT_TRUE(decoded.text == expected) << c.what;
        }
    }
}

} // namespace
} // namespace tellavin
