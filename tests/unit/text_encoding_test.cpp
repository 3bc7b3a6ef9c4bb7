#include "text/collation.h"
#include "text/encoding.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace tellavin {
namespace {

TEST(Encoding, ValidUtf8StaysAndAnythingElseIsWindows1252) {
    EXPECT_EQ(DecodeToUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(DecodeToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    // 0x80 is the euro sign and 0x93/0x94 are curly quotes in Windows-1252.
    EXPECT_EQ(DecodeToUtf8("\x80 \x93x\x94"), "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
    // A truncated sequence makes the whole text Windows-1252.
    EXPECT_EQ(DecodeToUtf8("\xC3"), "\xC3\x83");
    EXPECT_EQ(StripUtf8Bom("\xEF\xBB\xBFhi"), "hi");
}

TEST(Encoding, Utf7AsWindowsWritesIt) {
    EXPECT_EQ(Utf7ToUtf8("http://x/+AOk-t+AOk-"), "http://x/\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Utf7ToUtf8("a+-b"), "a+b");
    // U+1F600 as a surrogate pair.
    EXPECT_EQ(Utf7ToUtf8("+2D3eAA-"), "\xF0\x9F\x98\x80");
    // A run ended by a character outside base 64 keeps that character.
    EXPECT_EQ(Utf7ToUtf8("+AOk."), "\xC3\xA9.");
}

TEST(Collation, CaseAndAccentsFoldOrderIsTotal) {
    std::vector<std::string> names = {"beta", "Zulu", "\xC3\x89" "cole", "alpha", "Alpha", "echo",
                                      "10", "2", "\xE4\xB8\xAD"};
    std::sort(names.begin(), names.end(), DisplayNameLess);
    EXPECT_EQ(names, (std::vector<std::string>{"10", "2", "Alpha", "alpha", "beta", "echo",
                                               "\xC3\x89" "cole", "Zulu", "\xE4\xB8\xAD"}));
    EXPECT_EQ(CompareDisplayNames("same", "same"), 0);
}

} // namespace
} // namespace tellavin
