#include "text/encoding.h"

#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

struct Utf8Case {
    const char* what;
    std::string bytes;
    bool valid;
};

// Each sequence is checked at every offset of a run of ASCII longer than
// the eight bytes the check passes at once, and cut off at the text's end,
// so that a sequence straddling a word of ASCII is read like any other.
TEST(IsValidUtf8, SequencesAtEveryPlaceInAnAsciiRun) {
    const Utf8Case cases[] = {
        {"two bytes", "\xC3\xA9", true},
        {"three bytes", "\xE2\x82\xAC", true},
        {"four bytes", "\xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"last before the surrogates", "\xED\x9F\xBF", true},
        {"first after the surrogates", "\xEE\x80\x80", true},
        {"stray continuation byte", "\x80", false},
        {"overlong two bytes", "\xC0\xAF", false},
        {"overlong C1 lead", "\xC1\xBF", false},
        {"overlong three bytes", "\xE0\x9F\xBF", false},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lead F5", "\xF5\x80\x80\x80", false},
        {"lead FF", "\xFF", false},
        {"two-byte lead before ASCII", "\xC3" "a", false},
        {"three bytes missing the last", "\xE2\x82" "a", false},
        {"four bytes missing the last", "\xF0\x9F\x98" "a", false},
    };
    for (const auto& c : cases) {
        for (std::size_t before = 0; before < 17; ++before) {
            for (std::size_t after : {0, 1, 9}) {
                auto text = std::string(before, 'x') + c.bytes + std::string(after, 'y');
                EXPECT_EQ(IsValidUtf8(text), c.valid)
                    << c.what << ", " << before << " bytes before, " << after << " after";
            }
        }
        // A sequence cut by the end of the text is never valid.
        for (std::size_t keep = 1; keep < c.bytes.size(); ++keep) {
            if (c.valid) {
                EXPECT_FALSE(IsValidUtf8(std::string(11, 'x') + c.bytes.substr(0, keep)))
                    << c.what << " cut to " << keep << " bytes";
            }
        }
    }
}

} // namespace
} // namespace tellavin
