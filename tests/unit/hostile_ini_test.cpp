// INI text as it arrives from other systems and damaged files.
#include "text/ini_document.h"

#include <gtest/gtest.h>
#include <string>

namespace tellavin {
namespace {

using namespace std::string_literals;

TEST(HostileIni, EveryKindOfLineEnd) {
    auto document = IniDocument::Parse("[S]\rA=1\r\nB=2\nC=3\r\r\nD=4");
    EXPECT_EQ(document.Get("S", "A"), "1");
    EXPECT_EQ(document.Get("S", "B"), "2");
    EXPECT_EQ(document.Get("S", "C"), "3");
    EXPECT_EQ(document.Get("S", "D"), "4");
    ASSERT_EQ(document.sections().size(), 1u);
    EXPECT_EQ(document.sections()[0].entries.size(), 4u);
}

TEST(HostileIni, LineEndsDoNotAddBlankLinesWhenWrittenBack) {
    const std::string text = "; comment\r\n[S]\r\nA=1\r\n\r\nB=2\r\n";
    EXPECT_EQ(IniDocument::Parse(text).ToText(), text);
    EXPECT_EQ(IniDocument::Parse("[S]\rA=1\r\rB=2\r").ToText(), "[S]\r\nA=1\r\n\r\nB=2\r\n");
}

TEST(HostileIni, DamagedLines) {
    auto document = IniDocument::Parse("K=before any section\n[Open\nK=v\n=no key\n"
                                       "just text\n[]\nE=empty name\n[Nul]\nX=a\0b\n"s);
    EXPECT_EQ(document.Get("Open", "K"), "v");
    EXPECT_EQ(document.Get("Open", ""), "no key");
    EXPECT_EQ(document.Get("", "E"), "empty name");
    EXPECT_EQ(document.Get("Nul", "X"), "a\0b"s);
    EXPECT_EQ(document.sections().size(), 3u);
}

} // namespace
} // namespace tellavin
