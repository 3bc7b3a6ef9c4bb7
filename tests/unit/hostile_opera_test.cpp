// Hotlists no Opera wrote: empty, binary, one enormous line, CR line ends,
// NUL bytes, 100,000 nested folders.
#include "model/file_tree_builder.h"
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "support/hostile_files.h"
#include "support/message_text.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "text/encoding.h"

#include <gtest/gtest.h>
#include <random>

namespace tellavin {
namespace {

using test::TempDir;
using test::WriteFile;
using namespace std::string_literals;

std::string Loaded(std::string_view bytes) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Opera);
    ParseOperaHotlist(bytes, builder);
    builder.Finish();
    return test::TreeText(tree, true);
}

TEST(HostileOpera, EmptyAndBinaryFiles) {
    EXPECT_EQ(Loaded(""), "Opera Hotlist[ ]");
    std::mt19937 random(11);
    std::string garbage;
    for (int i = 0; i < 1 << 16; ++i) {
        garbage += static_cast<char>(random());
    }
    garbage.insert(40000, "\n#URL\n\tNAME=found\n\tURL=http://a/\n\n");
    auto text = Loaded(garbage);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_NE(text.find(" found=http://a/"), std::string::npos) << text;
}

TEST(HostileOpera, LineEndsOfEveryKindReadAlike) {
    const std::string lines =
        "Opera Hotlist version 2.0\nOptions: encoding = utf8, version=3\n\n"
        "#FOLDER\n\tID=1\n\tNAME=F\n\n#URL\n\tID=2\n\tNAME=A\n\tURL=http://a/\n\n"
        "-\n\n#URL\n\tNAME=B\n\tURL=http://b/\n\n";
    auto withEnds = [&](const std::string& end) {
        std::string text;
        for (char c : lines) {
            text += c == '\n' ? end : std::string(1, c);
        }
        return text;
    };
    const std::string expected = "Opera Hotlist[ B=http://b/ F[ A=http://a/ ] ]";
    EXPECT_EQ(Loaded(lines), expected);
    EXPECT_EQ(Loaded(withEnds("\r\n")), expected);
    // Lines ended by CR alone, as on an old Mac.
    EXPECT_EQ(Loaded(withEnds("\r")), expected);
}

// Found by the fuzzer: a NUL in an address went through to the other
// formats, which cannot hold it.
TEST(HostileOpera, NulBytesAreDropped) {
    EXPECT_EQ(Loaded(test::DataFile("fuzz/opera_reader_fuzz/nul-in-address")),
              "Opera Hotlist[ =t: ]");
    EXPECT_EQ(Loaded("#FOLDER\n\tNAME=a\0b\n#URL\n\tNAME=c\0d\n\tURL=http://x/\0y\n-\n"s),
              "Opera Hotlist[ ab[ cd=http://x/y ] ]");
}

TEST(HostileOpera, TwoHundredMegabyteSingleLine) {
    TempDir dir;
    auto path = dir.path() / "line.adr";
    const std::size_t size = 200u << 20;
    test::WriteRepeated(path, "#URL\r\n\tURL=http://a/\r\n\tNAME=", 'x', size, "\r\n");
    BookmarkTree tree;
    ASSERT_TRUE(LoadOperaTree(tree, path.string()));
    ASSERT_EQ(tree.EntryTable.size(), 1u);
    EXPECT_EQ(tree.EntryTable[0].sName.size(), size);
    EXPECT_EQ(tree.EntryTable[0].sURL, "http://a/");
}

TEST(HostileOpera, AHundredThousandNestedFoldersGoThroughBothWriters) {
    const int depth = 100'000;
    std::string hotlist;
    for (int level = 0; level < depth; ++level) {
        hotlist += "#FOLDER\r\n\tNAME=f\r\n\r\n";
    }
    hotlist += "#URL\r\n\tNAME=deep\r\n\tURL=http://deep/\r\n\r\n";
    for (int level = 0; level < depth; ++level) {
        hotlist += "-\r\n";
    }
    TempDir dir;
    WriteFile(dir.path() / "deep.adr", hotlist);
    cOperaFastScanning scanner;
    scanner.Scan(dir / "deep.adr");
    EXPECT_EQ(scanner.nTotalFolders(), depth);
    BookmarkTree tree;
    ASSERT_TRUE(LoadOperaTree(tree, dir / "deep.adr"));
    ASSERT_EQ(tree.NodeCount(), depth + 1);
    auto expected = test::TreeText(tree, true);

    NullProgress progress;
    ASSERT_TRUE(PrintHotlistFile(tree, dir / "out.adr", {}, progress).Complete());
    BookmarkTree fromOpera;
    ASSERT_TRUE(LoadOperaTree(fromOpera, dir / "out.adr"));
    EXPECT_EQ(test::TreeText(fromOpera, true), expected);

    ASSERT_TRUE(PrintBookmarkFile(tree, dir / "out.html", {}, test::NoProgress()).ok);
    BookmarkTree fromNetscape;
    ASSERT_TRUE(BuildNetscapeTree(fromNetscape, dir / "out.html"));
    fromNetscape.Node(0).Text = tree.Node(0).Text;
    EXPECT_EQ(test::TreeText(fromNetscape, true), expected);
}

// A merge appends records to a hotlist; appended to anything else no
// reader would see them, so only a file that is a hotlist takes them.
TEST(HostileOpera, MergeOnlyIntoAFileThatIsAHotlist) {
    const std::pair<std::string, bool> cases[] = {
        {"<html><body><DL><p></DL></body></html>\n", false},
        {"\xFF\xFEO\0p\0e\0r\0a\0 \0H\0o\0t\0l\0i\0s\0t\0"s, false},
        {"", false},
        {"\xEF\xBB\xBFOpera Hotlist version 2.0\r\n\r\n", true},
    };
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.AddLink("New", "http://new/");
    builder.Finish();
    WriteOptions merge;
    merge.merge = true;
    NullProgress progress;
    for (const auto& [old, takes] : cases) {
        TempDir dir;
        WriteFile(dir.path() / "h.adr", old);
        auto result = PrintHotlistFile(tree, dir / "h.adr", merge, progress);
        EXPECT_EQ(result.ok, takes) << test::MessageText(result.message);
        auto now = test::ReadFile(dir.path() / "h.adr");
        EXPECT_EQ(takes ? Loaded(now) : now, takes ? "Opera Hotlist[ New=http://new/ ]" : old);
    }
}

} // namespace
} // namespace tellavin
