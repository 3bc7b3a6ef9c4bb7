#include "sources/netscape_reader.h"
#include "sources/source_loader.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

std::string FixturePath(const std::string& name) {
    return std::string(TELLAVIN_TEST_DATA) + "/netscape/" + name;
}

struct Counts {
    std::int32_t folders = 0;
    std::int32_t links = 0;
};

Counts CountTree(const BookmarkTree& tree) {
    Counts counts{tree.NodeCount() - 1, 0};
    for (const auto& row : tree.EntryTable) {
        counts.links += row.IsLink() ? 1 : 0;
    }
    return counts;
}

struct FixtureCase {
    const char* file;
    const char* tree; // TreeText with addresses
};

class NetscapeFixture : public testing::TestWithParam<FixtureCase> {};

// Each fixture holds one fault or quirk found in real files; it loads with
// the folders, links, names and addresses a browser imports from it, and
// the count before a selection equals what the load holds.
TEST_P(NetscapeFixture, LoadsAsABrowserImportsIt) {
    const auto& param = GetParam();
    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, FixturePath(param.file)));
    EXPECT_EQ(test::TreeText(tree, true), param.tree);

    cNNFastScanning scanner;
    scanner.Scan(FixturePath(param.file));
    auto counts = CountTree(tree);
    EXPECT_EQ(scanner.nTotalFolders(), counts.folders);
    EXPECT_EQ(scanner.nTotalLinks(), counts.links);
}

INSTANTIATE_TEST_SUITE_P(
    Quirks, NetscapeFixture,
    testing::Values(
        FixtureCase{"tab-indented.html", "Tabs[ B=http://b.example/ Work[ A=http://a.example/ ] ]"},
        FixtureCase{"no-final-line-feed.html",
                    "End[ A=http://a.example/ Last=http://last.example/ ]"},
        FixtureCase{"lowercase-tags.html",
                    "lower[ B=http://b.example/ Sub[ A=http://a.example/ ] ]"},
        FixtureCase{"attributes-before-href.html",
                    "Attrs[ A=http://a.example/ B=http://b.example/ ]"},
        FixtureCase{"quoted-attributes.html",
                    "Quotes[ Single=http://a.example/?q=\"x\" Bare=http://b.example/path "
                    "Bracket in a value=http://c.example/ ]"},
        FixtureCase{
            "separator-shares-line.html",
            "Separators[ D=http://d.example/ First[ A=http://a.example/ B=http://b.example/ ] "
            "Second[ C=http://c.example/ ] ]"},
        FixtureCase{"title-over-two-lines.html",
                    "Titles[ First line\nsecond line=http://a.example/ Padded=http://b.example/ ]"},
        FixtureCase{"dt-and-a-on-separate-lines.html",
                    "Apart[ Folder[ A=http://a.example/ B=http://b.example/ ] ]"},
        FixtureCase{"last-dl-without-p.html",
                    "Ends[ B=http://b.example/ Folder[ A=http://a.example/ ] ]"},
        FixtureCase{"long-lines-inline-icons.html",
                    "Icons[ A=http://a.example/ B=http://b.example/ ]"},
        // New York and Ebay are empty; the links after Chicago's heading are
        // Chicago's, and the </DL> after them closes Locations too.
        FixtureCase{"heading-without-list.html",
                    "Headings[ After[ B=http://b.example/ ] Ebay[ ] Last[ ] "
                    "Locations[ Chicago[ A=http://a.example/ ] New York[ ] ] ]"},
        FixtureCase{"no-outer-list.html",
                    "Signets[ Top=https://top.example/ Favoris[ A=https://a.example/ ] Menu[ ] ]"},
        FixtureCase{"descriptions-and-separators.html",
                    "Notes[ C=http://c.example/ Radio[ quoted=http://not.a.link/ "
                    "A=http://a.example/ B=http://b.example/ ] ]"},
        FixtureCase{"entities-in-names-and-addresses.html",
                    "Tom & Jerry's[ Caf\xC3\xA9 <b>[ AT&T \"Q\" \xC3\xA6 \xE2\x80\xA6 "
                    "\xF0\x9F\x98\x80 \xC2\xACit; &#8230;=http://a.example/?x=1&y=2&copy=3&lang=en "
                    "Raw & bare=http://b.example/?a=<\">\xC2\xA9 ] ]"},
        // Not UTF-8, so Windows-1252; the UTF-8 bytes in a link name are repaired.
        FixtureCase{"windows-1252.html",
                    "Legacy[ Caf\xC3\xA9[ Truncated title\xC5\xA0=http://a.example/ "
                    "Caf\xC3\xA9 50\xE2\x82\xAC=http://b.example/ ] ]"},
        FixtureCase{"utf8-bom.html", "Bom[ \xEB\x8C\x80\xED\x95\x9C\xEB\xAF\xBC\xEA\xB5\xAD[ "
                                     "\xEC\x9B\xB9 \xEC\x8A\xAC\xEB\x9D\xBC\xEC\x9D\xB4\xEC\x8A\xA4"
                                     "=http://a.example/ ] ]"},
        FixtureCase{"unclosed-link.html", "Open links[ A=http://a.example/ B=http://b.example/ "
                                          "D=http://d.example/ Folder[ C=http://c.example/ ] ]"},
        FixtureCase{"unclosed-heading.html",
                    "Open headings[ Empty[ B=http://b.example/ ] Folder[ A=http://a.example/ ] ]"},
        // No address, an empty one or one without a scheme: the link is skipped.
        FixtureCase{"link-without-address.html",
                    "Addresses[ Padded=http://a.example/ Recent=place:sort=8&maxResults=10 "
                    "Script=javascript:void(0) ]"},
        FixtureCase{"comments-and-doctype.html",
                    "Header[ A=http://a.example/ Bold name=http://b.example/ ]"},
        FixtureCase{"crlf-line-ends.html", "Crlf[ Folder[ Two\nlines=http://a.example/ ] ]"},
        FixtureCase{"duplicate-names.html",
                    "Twins[ Home=http://1.example/ Home=http://2.example/ News=http://4.example/ "
                    "News[ Daily=http://3.example/ ] News[ ] ]"},
        FixtureCase{"stray-lists.html", "Stray[ C=http://c.example/ D=http://d.example/ "
                                        "Folder[ A=http://a.example/ B=http://b.example/ ] ]"}),
    [](const testing::TestParamInfo<FixtureCase>& info) {
        std::string name;
        for (char c : std::string(info.param.file)) {
            if (c == '.') {
                break;
            }
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

class EventLog final : public BookmarkSink {
public:
    void SetRootText(std::string text) override { log += "root(" + text + ") "; }
    void BeginFolder(std::string name) override { log += "begin(" + name + ") "; }
    void AddLink(std::string name, std::string url) override {
        log += "link(" + name + "," + url + ") ";
    }
    void EndFolder() override { log += "end "; }
    std::string log;
};

TEST(NetscapeReader, PushesEventsInFileOrderAndReportsTheTitle) {
    NetscapeText text{"<TITLE>Mine &amp; yours</TITLE><H1>Head</H1><DL><p>"
                      "<DT><H3>B</H3><DL><p><DT><A HREF=\"http://x/\">x</A></DL><p>"
                      "<DT><A HREF=\"http://a/\">a</A><DT><H3>Empty</H3></DL><p>",
                      false};
    EventLog log;
    EXPECT_EQ(ParseNetscapeText(text, log), "Mine & yours");
    EXPECT_EQ(log.log,
              "root(Head) begin(B) link(x,http://x/) end link(a,http://a/) begin(Empty) end ");
}

TEST(NetscapeReader, ScannerReportsEachFolderAndTheTitle) {
    cNNFastScanning scanner;
    EXPECT_EQ(scanner.nTotalFolders(), -1);
    EXPECT_EQ(scanner.nTotalLinks(), -1);
    std::vector<std::string> folders;
    scanner.FolderScan = [&](const std::string& name) { folders.push_back(name); };
    scanner.Scan(FixturePath("duplicate-names.html"));
    EXPECT_EQ(folders, (std::vector<std::string>{"News", "News"}));
    EXPECT_EQ(scanner.sPageTitle(), "Bookmarks");
    EXPECT_EQ(scanner.nTotalFolders(), 2);
    EXPECT_EQ(scanner.nTotalLinks(), 4);
}

TEST(NetscapeReader, MissingFileLeavesTheTreeEmptyAndCountsZero) {
    test::TempDir dir;
    BookmarkTree tree;
    EXPECT_FALSE(BuildNetscapeTree(tree, dir / "missing.html"));
    EXPECT_FALSE(tree.HasRoot());
    EXPECT_FALSE(BuildNetscapeTree(tree, ""));
    cNNFastScanning scanner;
    scanner.Scan(dir / "missing.html");
    EXPECT_EQ(scanner.nTotalFolders(), 0);
    EXPECT_EQ(scanner.nTotalLinks(), 0);
    EXPECT_EQ(CountSource({StoreKind::Netscape, dir / "missing.html"}).read.reason,
              "No such file or directory");
    EXPECT_FALSE(LoadSourceTree({StoreKind::Netscape, dir.path().string()}, tree));
}

TEST(NetscapeReader, HundredThousandLevelsDeep) {
    constexpr int kDepth = 100000;
    std::string html = "<H1>Deep</H1><DL><p>\n";
    for (int i = 0; i < kDepth; ++i) {
        html += "<DT><H3>d</H3>\n<DL><p>\n";
    }
    html += "<DT><A HREF=\"http://bottom/\">bottom</A>\n";
    for (int i = 0; i < kDepth; ++i) {
        html += "</DL><p>\n";
    }
    html += "<DT><A HREF=\"http://top/\">top</A>\n</DL><p>\n";
    test::TempDir dir;
    test::WriteFile(dir.path() / "deep.html", html);

    BookmarkTree tree;
    ASSERT_TRUE(BuildNetscapeTree(tree, dir / "deep.html"));
    ASSERT_EQ(tree.NodeCount(), kDepth + 1);
    std::int32_t node = 0;
    for (int depth = 0; depth < kDepth; ++depth) {
        ASSERT_EQ(tree.Node(node).children.size(), 1u) << "at depth " << depth;
        node = tree.Node(node).children[0];
    }
    const auto& bottom = tree.FolderTable[node];
    ASSERT_EQ(bottom.nLastEntry, bottom.nFirstEntry);
    EXPECT_EQ(tree.EntryTable[bottom.nFirstEntry].sName, "bottom");
    const auto& root = tree.FolderTable[0];
    EXPECT_EQ(tree.EntryTable[root.nLastEntry].sURL, "http://top/");
}

} // namespace
} // namespace tellavin
