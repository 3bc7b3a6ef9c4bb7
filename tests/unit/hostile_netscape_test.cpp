// Netscape-format files no browser wrote: empty, binary, one enormous line,
// CR line ends, NUL bytes, a folder of 100,000 links.
#include "model/bookmark_sink.h"
#include "model/file_tree_builder.h"
#include "sources/netscape_reader.h"
#include "support/hostile_files.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/folder_links.h"
#include "targets/netscape_writer.h"
#include "text/encoding.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace tellavin {
namespace {

using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

// The tree of a file, with the scanner's count, which must agree with it.
std::string Load(const std::string& path, std::int32_t* links = nullptr) {
    cNNFastScanning scanner;
    scanner.Scan(path);
    BookmarkTree tree;
    EXPECT_TRUE(BuildNetscapeTree(tree, path));
    EXPECT_EQ(scanner.nTotalFolders(), tree.NodeCount() - 1);
    if (links != nullptr) {
        *links = scanner.nTotalLinks();
    }
    return test::TreeText(tree, true);
}

TEST(HostileNetscape, EmptyAndBinaryFiles) {
    TempDir dir;
    WriteFile(dir.path() / "empty.html", "");
    std::int32_t links = -1;
    EXPECT_EQ(Load(dir / "empty.html", &links), "[ ]");
    EXPECT_EQ(links, 0);

    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 1 << 16; ++i) {
        garbage += static_cast<char>(random());
    }
    // With some markup among the noise, as in a damaged file.
    garbage.insert(30000, "<DL><DT><H3>f\0\xFF</H3><DL><DT><A HREF=\"http://a/\">a</A>"s);
    WriteFile(dir.path() / "garbage.html", garbage);
    auto text = Load(dir / "garbage.html");
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_NE(text.find("a=http://a/"), std::string::npos) << text;
}

TEST(HostileNetscape, TwoHundredMegabyteSingleLine) {
    TempDir dir;
    auto path = dir.path() / "line.html";
    const std::size_t size = 200u << 20;
    test::WriteRepeated(path, "<DL><p><DT><A HREF=\"http://a/\">", 'x', size,
                        "</A><DT><A HREF=\"http://b/\">b</A></DL><p>");
    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, path.string()));
    ASSERT_EQ(tree.EntryTable.size(), 2u);
    EXPECT_EQ(tree.EntryTable[0].sName.size(), size);
    EXPECT_EQ(tree.EntryTable[1].sName, "b");
}

TEST(HostileNetscape, LineEndsOfEveryKindReadAlike) {
    TempDir dir;
    const std::string lines = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>T</TITLE>\n<H1>H</H1>\n"
                              "<DL><p>\n    <DT><H3>F</H3>\n    <DL><p>\n"
                              "        <DT><A HREF=\"http://a/\">A</A>\n    </DL><p>\n"
                              "    <HR>    <DT><A HREF=\"http://b/\">B</A>\n</DL><p>\n";
    auto withEnds = [&](const std::string& end) {
        std::string text;
        for (char c : lines) {
            text += c == '\n' ? end : std::string(1, c);
        }
        return text;
    };
    WriteFile(dir.path() / "lf.html", lines);
    WriteFile(dir.path() / "cr.html", withEnds("\r"));
    WriteFile(dir.path() / "crlf.html", withEnds("\r\n"));
    const std::string expected = "H[ B=http://b/ F[ A=http://a/ ] ]";
    EXPECT_EQ(Load(dir / "lf.html"), expected);
    EXPECT_EQ(Load(dir / "cr.html"), expected);
    EXPECT_EQ(Load(dir / "crlf.html"), expected);
}

TEST(HostileNetscape, NulBytesInNamesAndAddresses) {
    TempDir dir;
    WriteFile(
        dir.path() / "nul.html",
        "<DL><p><DT><H3>a\0b</H3><DL><p><DT><A HREF=\"http://x/\0y\">c\0d</A></DL><p></DL><p>"s);
    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, dir / "nul.html"));
    auto text = test::TreeText(tree, true);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\0'), 0) << text;
}

TEST(HostileNetscape, AFolderOfAHundredThousandLinksWritesSortedAndReadsBack) {
    TempDir dir;
    std::string file = "<DL><p>\n";
    const int count = 100'000;
    for (int i = 0; i < count; ++i) {
        // Names in no order, some repeated.
        auto number = std::to_string((i * 7919) % 50'000);
        file += "<DT><A HREF=\"http://x/" + std::to_string(i) + "\">n" + number + "</A>\n";
    }
    file += "</DL><p>\n";
    WriteFile(dir.path() / "flat.html", file);
    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, dir / "flat.html"));
    ASSERT_EQ(tree.EntryTable.size(), static_cast<std::size_t>(count));

    auto written = PrintBookmarkFile(tree, dir / "out.html", WriteOptions{}, test::NoProgress());
    ASSERT_TRUE(written.ok) << test::MessageText(written.message);
    EXPECT_EQ(written.nLinksWritten, count);
    BookmarkTree again;
    ASSERT_TRUE(BuildNetscapeTree(again, dir / "out.html"));
    ASSERT_EQ(again.EntryTable.size(), static_cast<std::size_t>(count));
    // Sorted by name; numbered duplicates follow their original.
    EXPECT_EQ(again.EntryTable.front().sName, "n0");
    for (std::size_t row = 1; row < again.EntryTable.size(); ++row) {
        const auto& before = again.EntryTable[row - 1].sName;
        const auto& name = again.EntryTable[row].sName;
        ASSERT_LE(LinkSortKey(before), LinkSortKey(name)) << row;
    }
}

// Merging into files of unusual shapes: the export (the link New and the
// folder Added) lands in the root list, every old link stays where it was,
// and the file declares the UTF-8 it now is; a merge that could not read
// back whole is refused with the file untouched.
TEST(HostileNetscape, MergeIntoFilesOfUnusualShapes) {
    const std::pair<const char*, std::string> cases[] = {
        {"unclosed-root-list.html",
         "Bookmarks[ after inner=http://after-inner/ last=http://last/ New=http://new/ "
         "Added[ deep=http://deep/ ] Inner[ inner=http://inner/ ] ] charset=UTF-8"},
        {"unusual-closing-tag.html",
         "Bookmarks[ after inner=http://after-inner/ New=http://new/ Added[ deep=http://deep/ ] "
         "Inner[ inner=http://inner/ ] ] charset=UTF-8"},
        {"dl-in-unclosed-trailing-comment.html",
         "Bookmarks[ top=http://top/ New=http://new/ Added[ deep=http://deep/ ] ] charset=UTF-8"},
        {"windows-1252-declared.html",
         "Lesezeichen[ Caf\xC3\xA9 M\xC3\xBCller=http://cafe/ New=http://new/ "
         "Added[ deep=http://deep/ ] ] charset=UTF-8"},
        {"folder-left-open.html", "refused"},
    };
    BookmarkTree added;
    FileTreeBuilder builder(added, StoreKind::Netscape);
    builder.AddLink("New", "http://new/");
    builder.BeginFolder("Added");
    builder.AddLink("deep", "http://deep/");
    builder.EndFolder();
    builder.Finish();
    WriteOptions options;
    options.merge = true;
    for (const auto& [fixture, expected] : cases) {
        SCOPED_TRACE(fixture);
        TempDir dir;
        auto path = dir / fixture;
        auto old = test::ReadFile(std::string(TELLAVIN_TEST_DATA) + "/netscape/merge/" + fixture);
        WriteFile(path, old);
        if (!PrintBookmarkFile(added, path, options, test::NoProgress()).ok) {
            EXPECT_EQ("refused", expected);
            EXPECT_EQ(test::ReadFile(path), old);
            continue;
        }
        auto merged = test::ReadFile(path);
        auto charset = merged.find("charset=");
        auto declared = charset == std::string::npos
                            ? "none"
                            : merged.substr(charset, merged.find('"', charset) - charset);
        EXPECT_EQ(Load(path) + " " + declared, expected);
    }
}

} // namespace
} // namespace tellavin
