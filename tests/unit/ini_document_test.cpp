#include "text/ini_document.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

TEST(IniDocumentRead, ProfileRulesOnCrLfText) {
    auto document = IniDocument::Parse("; comment=not a key\r\n"
                                       "orphan=before any section\r\n"
                                       "[Settings]\r\n"
                                       "  Backup =  1  \r\n"
                                       "no equals sign here\r\n"
                                       "backup=2\r\n"
                                       "Title=\"  quoted  \"\r\n"
                                       "Half=\"open\r\n"
                                       "[ settings ]\r\n"
                                       "Shadows=1\r\n"
                                       "[Other]\r\n"
                                       "Backup=3");
    EXPECT_EQ(document.Get("SETTINGS", "backup"), "1");
    EXPECT_EQ(document.Get("Settings", "Title"), "  quoted  ");
    EXPECT_EQ(document.Get("Settings", "Half"), "\"open");
    EXPECT_EQ(document.Get("Settings", "Shadows"), std::nullopt); // only the first section counts
    EXPECT_EQ(document.Get("Other", "Backup"), "3");              // last line without a line end
    EXPECT_EQ(document.Get("Settings", "no equals sign here"), std::nullopt);
    EXPECT_EQ(document.Get("", "orphan"), std::nullopt);
    EXPECT_EQ(document.Get("Missing", "Backup"), std::nullopt);
}

TEST(IniDocumentWrite, ChangesKeepOrderCommentsAndBlankLines) {
    auto document = IniDocument::Parse("; settings of the program\n"
                                       "\n"
                                       "[Position]\n"
                                       "MainLeft=1\n"
                                       "; the top edge\n"
                                       "MainTop=2\n"
                                       "\n"
                                       "[Settings]\n"
                                       "# shared by all windows\n"
                                       "Backup=1\n");
    EXPECT_TRUE(document.Set("position", "mainleft", "10"));
    EXPECT_TRUE(document.Set("Position", "SecLeft", "30"));
    EXPECT_TRUE(document.Set("Presets", "Color0", "255"));
    EXPECT_TRUE(document.RemoveKey("Position", "MainTop"));
    EXPECT_FALSE(document.RemoveKey("Position", "MainTop"));
    EXPECT_EQ(document.ToText(), "; settings of the program\r\n"
                                 "\r\n"
                                 "[Position]\r\n"
                                 "MainLeft=10\r\n"
                                 "; the top edge\r\n"
                                 "SecLeft=30\r\n"
                                 "\r\n"
                                 "[Settings]\r\n"
                                 "# shared by all windows\r\n"
                                 "Backup=1\r\n"
                                 "[Presets]\r\n"
                                 "Color0=255\r\n");
    EXPECT_TRUE(document.RemoveSection("SETTINGS"));
    EXPECT_FALSE(document.RemoveSection("Settings"));
    EXPECT_EQ(document.Get("Settings", "Backup"), std::nullopt);
}

TEST(IniDocumentWrite, LeavesOutWhatNoReaderSees) {
    auto document = IniDocument::Parse("orphan=1\n"
                                       "[A]\n"
                                       "k=1\n"
                                       "K=2\n"
                                       "=nameless\n"
                                       "garbage line\n"
                                       "[]\n"
                                       "x=1\n"
                                       "[a]\n"
                                       "k=3\n"
                                       "[B]\n"
                                       "j=4\n");
    EXPECT_EQ(document.ToText(), "[A]\r\nk=1\r\n[B]\r\nj=4\r\n");
}

TEST(IniDocumentWrite, RemovingAKeyRemovesItsHiddenRepeatsToo) {
    auto document = IniDocument::Parse("[A]\nk=1\nk=2\n");
    document.RemoveKey("A", "K");
    EXPECT_EQ(document.Get("A", "k"), std::nullopt);
}

TEST(IniDocumentWrite, QuotedValuesComeBackWithTheirQuotes) {
    IniDocument document;
    for (std::string value : {"\"quoted\"", "'single'", "\"", "\"open", "''"}) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(document.Set("S", "k", value));
        EXPECT_EQ(IniDocument::Parse(document.ToText()).Get("S", "k"), value);
    }
    // Blanks around a quoted value are trimmed on reading; the quotes stay.
    ASSERT_TRUE(document.Set("S", "k", " '''''\t\t"));
    EXPECT_EQ(document.Get("S", "k"), "'''''");
    EXPECT_EQ(IniDocument::Parse(document.ToText()).Get("S", "k"), "'''''");
}

TEST(IniDocumentWrite, RefusesNamesAndValuesTheFormatCannotHold) {
    IniDocument document;
    EXPECT_FALSE(document.Set("a]b", "k", "v"));
    EXPECT_FALSE(document.Set("", "k", "v"));
    EXPECT_FALSE(document.Set(" padded", "k", "v"));
    EXPECT_FALSE(document.Set("S", "a=b", "v"));
    EXPECT_FALSE(document.Set("S", ";k", "v"));
    EXPECT_FALSE(document.Set("S", "[k", "v"));
    EXPECT_FALSE(document.Set("S", "", "v"));
    EXPECT_FALSE(document.Set("S", "k", "two\nlines"));
    EXPECT_FALSE(document.Set("S", "k", "cr\rhere"));
    EXPECT_FALSE(document.Set("S", "k", std::string("nul\0x", 5)));
    EXPECT_EQ(document.ToText(), "");
    EXPECT_TRUE(document.Set("a[b", "#k", "x=y;z"));
    EXPECT_EQ(IniDocument::Parse(document.ToText()).Get("a[b", "#k"), "x=y;z");
}

TEST(IniDocumentDecode, EncodingsAtTheEdge) {
    EXPECT_EQ(IniDocument::DecodeFileBytes("\xEF\xBB\xBF[S]\nk=\xC3\xA9"), "[S]\nk=\xC3\xA9");
    EXPECT_EQ(IniDocument::DecodeFileBytes("[S]\nk=\xE9"), "[S]\nk=\xC3\xA9");
    EXPECT_EQ(IniDocument::DecodeFileBytes(std::string("\xFF\xFE[\0S\0]\0", 8)), "[S]");
    EXPECT_EQ(IniDocument::DecodeFileBytes(std::string("\xFF\xFE\x00\xD8", 4)), std::nullopt);
}

} // namespace
} // namespace tellavin
