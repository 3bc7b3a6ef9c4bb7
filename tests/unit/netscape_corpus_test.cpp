// Real bookmark files from many programs: each loads completely, with the
// folders, links, names and addresses that Firefox imports from it.
#include "sources/netscape_reader.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

std::string CorpusFile(const std::string& name) {
    auto corpus = test::CorpusDir();
    return corpus.empty() ? std::string() : (corpus / "netscape" / name).string();
}

#define LOAD_CORPUS_OR_SKIP(tree, name)                                                            \
    auto path = CorpusFile(name);                                                                  \
    if (path.empty()) {                                                                            \
        GTEST_SKIP() << "the shared corpus is not beside the checkout";                            \
    }                                                                                              \
    ASSERT_TRUE(BuildNetscapeTree(tree, path))

struct CorpusCounts {
    const char* file;
    std::int32_t folders;
    std::int32_t links;
};

class NetscapeCorpus : public testing::TestWithParam<CorpusCounts> {};

TEST_P(NetscapeCorpus, CountsAndLoadsWhatFirefoxImports) {
    const auto& param = GetParam();
    BookmarkTree tree;
    LOAD_CORPUS_OR_SKIP(tree, param.file);
    std::int32_t links = 0;
    for (const auto& row : tree.EntryTable) {
        links += row.IsLink() ? 1 : 0;
    }
    EXPECT_EQ(tree.NodeCount() - 1, param.folders);
    EXPECT_EQ(links, param.links);
    cNNFastScanning scanner;
    scanner.Scan(path);
    EXPECT_EQ(scanner.nTotalFolders(), param.folders);
    EXPECT_EQ(scanner.nTotalLinks(), param.links);
}

INSTANTIATE_TEST_SUITE_P(Files, NetscapeCorpus,
                         testing::Values(CorpusCounts{"chromium-fixture-redditsaver.html", 1, 2},
                                         CorpusCounts{"chromium-nested.htm", 7, 18},
                                         CorpusCounts{"delicious-large-995.html", 0, 995},
                                         CorpusCounts{"delicious-small.htm", 0, 5},
                                         CorpusCounts{"firefox-2023-exported-csp.html", 4, 8},
                                         CorpusCounts{"firefox-places-nested.htm", 6, 24},
                                         CorpusCounts{"firefox2-preplaces.html", 4, 8},
                                         CorpusCounts{"google-bookmarks-no-doctype.htm", 1, 6},
                                         CorpusCounts{"icab-attrs-before-href.html", 32, 151},
                                         CorpusCounts{"ie-korean-bom-handedited.htm", 5, 12},
                                         CorpusCounts{"ie11-nested-bom.htm", 9, 27},
                                         CorpusCounts{"ie4-mac-favorites-macroman.html", 32, 149},
                                         CorpusCounts{"netscape4-aliases-multiline-dd.html", 4, 10},
                                         CorpusCounts{"safari-tabs-no-outer-dl.htm", 5, 3},
                                         CorpusCounts{"scuttle-lowercase-tabs.htm", 0, 4}),
                         [](const testing::TestParamInfo<CorpusCounts>& info) {
                             std::string name;
                             for (char c : std::string(info.param.file)) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

struct CorpusTree {
    const char* file;
    bool addresses;
    const char* tree;
};

class NetscapeCorpusTree : public testing::TestWithParam<CorpusTree> {};

TEST_P(NetscapeCorpusTree, LoadsTheWholeTree) {
    const auto& param = GetParam();
    BookmarkTree tree;
    LOAD_CORPUS_OR_SKIP(tree, param.file);
    EXPECT_EQ(test::TreeText(tree, param.addresses), param.tree);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NetscapeCorpusTree,
    testing::Values(
        // <DT> and <A> on separate lines, attributes before HREF.
        CorpusTree{"chromium-fixture-redditsaver.html", true,
                   "Bookmarks Menu[ Reddit Bookmarks[ Google=http://www.google.com "
                   "YouTube=http://www.youtube.com ] ]"},
        // Descriptions after links; addresses with %-escapes and "&".
        CorpusTree{"delicious-small.htm", true,
                   "Bookmarks[ Export Firefox bookmarks to backup or transfer=https://"
                   "support.mozilla.org/en-US/kb/export-firefox-bookmarks-to-backup-or-transfer "
                   "Netscape Bookmark File Format=https://msdn.microsoft.com/en-us/library/"
                   "aa753582%28v=vs.85%29.aspx PHP - Testing your privates=https://"
                   "sebastian-bergmann.de/archives/881-Testing-Your-Privates.html Paper craft Mine "
                   "Turtle=http://storml.deviantart.com/art/Mine-Turtle-Instructions-302477240?q="
                   "in%3Ascraps%20sort%3Atime%20gallery%3Astorml&qo=1 fontfamily.io=http://"
                   "fontfamily.io/ ]"},
        CorpusTree{
            "google-bookmarks-no-doctype.htm", false,
            "Bookmarks[ Unlabeled[ WordHippo | Comprehensive Thesaurus for Synonyms and "
            "Antonyms powershell - Move files into alphabetically named folders - Stack "
            "Overflow Free Lien Search OpenNIC Project Kubo and the Two Strings (2016) - IMDb "
            "Home | NextAce ] ]"},
        // Byte order mark, Hangul names, mixed tab and space indentation.
        CorpusTree{"ie-korean-bom-handedited.htm", false,
                   "Bookmarks[ Poketalk with Lenovo Lenovo[ Lenovo Support Lenovo ] Links[ "
                   "\xEC\x9B\xB9 \xEC\xA1\xB0\xEA\xB0\x81 \xEA\xB0\xA4\xEB\x9F\xAC\xEB\xA6\xAC "
                   "\xEC\xB6\x94\xEC\xB2\x9C \xEC\x82\xAC\xEC\x9D\xB4\xED\x8A\xB8 ] Links for "
                   "\xEB\x8C\x80\xED\x95\x9C\xEB\xAF\xBC\xEA\xB5\xAD[ e\xEB\xAE\xA4\xEC\xA7\x80"
                   "\xEC\x97\x84 \xEB\x8C\x80\xED\x95\x9C\xEB\xAF\xBC\xEA\xB5\xAD \xEA\xB5\xAC"
                   "\xEC\x84\x9D\xEA\xB5\xAC\xEC\x84\x9D \xEC\xA6\x90\xEC\xB0\xBE[ EasyMark "
                   "\xEB\x82\xB4\xEB\xB6\x80 \xEC\xA6\x90\xEA\xB2\xA8\xEC\xB0\xBE\xEA\xB8\xB0 "
                   "\xED\x8F\xB4\xEB\x8D\x94[ \xEB\x82\xB4\xEB\xB6\x80 \xEB\xA7\x81\xED\x81\xAC"
                   "1 \xEB\x82\xB4\xEB\xB6\x80 \xEB\xA7\x81\xED\x81\xAC"
                   "2 \xEB\x82\xB4\xEB\xB6"
                   "\x80 \xEB\xA7\x81\xED\x81\xAC"
                   "3 \xEB\x82\xB4\xEB\xB6\x80 \xEB\xA7\x81\xED"
                   "\x81\xAC"
                   "4 ] ] ] ]"},
        // No outer <DL>, tab indentation.
        CorpusTree{"safari-tabs-no-outer-dl.htm", false,
                   "Signets[ Autre Divers[ doc[ Wikipedia, the free encyclopedia ] ] Favoris[ "
                   "GitHub ] Github - Shaarli[ GitHub - shaarli/Shaarli: The personal, minimalist, "
                   "super-fast, database free, bookmarking service - community repo ] Menu "
                   "Signets[ ] ]"},
        // Multi-line descriptions, separators, a raw "&" in a name.
        CorpusTree{"netscape4-aliases-multiline-dd.html", false,
                   "Bookmarks for Module Test[ O'Reilly & Associates Amazon.com--Earth's Biggest "
                   "Selection Diving[ Global Underwater Explorers Halcyon ] Hardware[ Cisco "
                   "Connection Online by Cisco Systems, Inc. ] Perl[ O'Reilly & Associates Perl "
                   "Mongers Welcome to Stonehenge! ] Public radio[ From WBEZ in Chicago | This "
                   "American Life NPR Online ] ]"},
        // "<HR>    <DT>" on one line, the last </DL> without <p>.
        CorpusTree{"firefox-2023-exported-csp.html", false,
                   "Bookmarks Menu[ Bookmarks Toolbar[ Getting Started Latest Headlines ] Mozilla "
                   "Firefox[ Help and Tutorials Customize Firefox Get Involved About Us ] Other "
                   "Bookmarks[ Example.tld ] test[ test post keyword ] ]"},
        // A description between a heading and its list, a </DL> without <p>.
        CorpusTree{
            "firefox2-preplaces.html", false,
            "Bookmarks[ Bookmarks Toolbar Folder[ Getting Started Latest Headlines ] Mozilla "
            "Firefox[ Help and Tutorials Customize Firefox Get Involved About Us ] test[ "
            "test post keyword ] Unsorted Bookmarks[ Example.tld ] ]"},
        // Lower-case tags, entities in addresses; the double-encoded name
        // of a UTF-8 file stays as Firefox shows it.
        CorpusTree{"scuttle-lowercase-tabs.htm", true,
                   "Bookmarks for myuser tag=\"dictionary\" from scuttle[ EuroVoc Thesaurus=http://"
                   "eurovoc.europa.eu/drupal/?q=navigation&cl=en IATE - The EU's multilingual term "
                   "base=http://iate.europa.eu/iatediff/SearchByQueryLoad.do?method=load Linguee - "
                   "Das Web als W\xC3\x83\xC2\xB6rterbuch - EN/DE, EN/FR, EN/SP, EN/POR=http://"
                   "www.linguee.de/deutsch-englisch/search UN Terminology in German, English (& "
                   "French & Spanish)=http://unterm.un.org/dgaacs/gts_term.nsf ]"},
        CorpusTree{
            "ie11-nested-bom.htm", false,
            "Bookmarks[ Learn to write Gallifreyan in 9 simple steps Let me google that for "
            "you Comics[ It Never works with cats... UserFriendly - Web Designer ] Dev[ "
            "Authentication Cheat Sheet - OWASP CSS 3D Clouds Excuses For Lazy Coders Fifty "
            "Shades of Grey text generator  Parody erotic fiction generated algorithmically. "
            "Heroic Programming http--www.brendangregg.com-Specials-mkzombie.c PHP[ PHP "
            "Sadness ] Python[ GitHub - originell-django-kittenstorage Django Storage Engine "
            "which returns images of kittens if files could not be found. XKCD Plots in "
            "Matplotlib Going the Whole Way ] SCM[ A better git log (Example)  Coderwall "
            "Dealing with line endings - User Documentation Hg Init a Mercurial tutorial by "
            "Joel Spolsky ] ] Links[ ] Microsoft Websites[ IE Add-on site IE site on "
            "Microsoft.com Microsoft At Home Microsoft At Work Microsoft Store ] Music[ Album "
            "Covers Recreated with MS Paint TEDxZurich - Jojo Mayer - Exploring the distance "
            "between 0 and 1 - YouTube ] Windows Live[ Get Windows Live Windows Live Gallery "
            "Windows Live Mail Windows Live Spaces ] ]"}),
    [](const testing::TestParamInfo<CorpusTree>& info) {
        std::string name;
        for (char c : std::string(info.param.file)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

std::int32_t ChildNamed(const BookmarkTree& tree, std::int32_t parent, const std::string& name) {
    for (auto child : tree.Node(parent).children) {
        if (tree.Node(child).Text == name) {
            return child;
        }
    }
    return -1;
}

std::vector<std::string> LinkNames(const BookmarkTree& tree, std::int32_t folder) {
    std::vector<std::string> names;
    for (const auto& row : tree.Rows(folder)) {
        if (row.IsLink()) {
            names.emplace_back(row.sName);
        }
    }
    return names;
}

// iCab writes empty folders as a heading with no list. The links after
// Chicago's heading are Chicago's (as Firefox takes them), and the </DL>
// after them ends Locations too, so the folders after it stay at the top.
TEST(NetscapeCorpusQuirks, HeadingsWithoutListsKeepTheNestingRight) {
    BookmarkTree tree;
    LOAD_CORPUS_OR_SKIP(tree, "icab-attrs-before-href.html");
    auto locations = ChildNamed(tree, 0, "Locations");
    ASSERT_GE(locations, 0);
    auto newYork = ChildNamed(tree, locations, "New York");
    auto chicago = ChildNamed(tree, locations, "Chicago");
    ASSERT_GE(newYork, 0);
    ASSERT_GE(chicago, 0);
    EXPECT_TRUE(LinkNames(tree, newYork).empty());
    EXPECT_EQ(LinkNames(tree, chicago).size(), 3u);
    EXPECT_TRUE(LinkNames(tree, locations).empty());
    for (const char* topLevel : {"IF", "Net connectivity", "Vanity", "Ebay", "Unix"}) {
        EXPECT_GE(ChildNamed(tree, 0, topLevel), 0) << topLevel;
    }
    EXPECT_EQ(tree.Node(0).Text, "iCab Hotlist");
}

// Neither Mac file is UTF-8: both are read as Windows-1252, where the byte
// that ends each truncated title is "Š".
TEST(NetscapeCorpusQuirks, MacFilesAreReadAsWindows1252) {
    BookmarkTree tree;
    LOAD_CORPUS_OR_SKIP(tree, "ie4-mac-favorites-macroman.html");
    auto ddj = ChildNamed(tree, 0, "DDJ articles");
    ASSERT_GE(ddj, 0);
    auto graphviz = ChildNamed(tree, ddj, "GraphViz");
    ASSERT_GE(graphviz, 0);
    EXPECT_EQ(
        LinkNames(tree, graphviz),
        (std::vector<std::string>{"AT&T Research", "Welcome to GraphViz",
                                  "Devel::GraphVizProf - per-line Perl profiler (w\xC5\xA0"}));
    EXPECT_EQ(
        tree.EntryTable[tree.FolderTable[ddj].nFirstEntry].sURL,
        "file:///Otter%20Pop/Gerbils/Dr.%20Dobbs/Creating%20a%20Perl%20Debugger/debugger.html");
}

// Raw "&" in addresses stays; the last link, with no line feed after it,
// is read.
TEST(NetscapeCorpusQuirks, LargeDeliciousExportKeepsRawAmpersandsAndTheLastLink) {
    BookmarkTree tree;
    LOAD_CORPUS_OR_SKIP(tree, "delicious-large-995.html");
    std::int32_t withAmpersand = 0;
    for (const auto& row : tree.EntryTable) {
        withAmpersand += row.sURL.find('&') != std::string::npos ? 1 : 0;
        EXPECT_EQ(row.sURL.find("&amp;"), std::string::npos) << row.sURL;
    }
    EXPECT_GT(withAmpersand, 10);
    auto content = test::ReadFile(path);
    auto lastHref = content.rfind("HREF=\"");
    auto lastUrl = content.substr(lastHref + 6, content.find('"', lastHref + 6) - lastHref - 6);
    EXPECT_EQ(tree.EntryTable.back().sURL, lastUrl);
}

} // namespace
} // namespace tellavin
