#include "sources/opera_reader.h"
#include "sources/source_loader.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
    return (fs::path(TELLAVIN_TEST_DATA) / "opera" / name).string();
}

std::int32_t LinkRows(const BookmarkTree& tree) {
    std::int32_t links = 0;
    for (const auto& row : tree.EntryTable) {
        links += row.IsLink() ? 1 : 0;
    }
    return links;
}

// Loads a hotlist, checks that the scanner counts exactly what was loaded,
// and returns the tree as text with addresses.
std::string Loaded(const std::string& path, bool addresses = true) {
    BookmarkTree tree;
    EXPECT_TRUE(LoadOperaTree(tree, path));
    cOperaFastScanning scanner;
    scanner.Scan(path);
    EXPECT_EQ(scanner.nTotalFolders(), tree.NodeCount() - 1) << path;
    EXPECT_EQ(scanner.nTotalLinks(), LinkRows(tree)) << path;
    return test::TreeText(tree, addresses);
}

TEST(OperaReader, LineEndsOfEitherKindAndOperasFieldOrder) {
    const std::string expected =
        "Opera Hotlist[ Home=http://home.example/ News[ Daily=http://daily.example/ ] ]";
    EXPECT_EQ(Loaded(Fixture("bare-line-feeds.adr")), expected);
    EXPECT_EQ(Loaded(Fixture("crlf-line-ends.adr")), expected);
}

TEST(OperaReader, TagLinesWithTrailingBlanksOrInLowerCase) {
    EXPECT_EQ(Loaded(Fixture("trailing-blanks-on-tags.adr")),
              "Opera Hotlist[ Lower=http://lower.example/ Community[ GNU=http://www.gnu.org/ ] ]");
}

TEST(OperaReader, FieldsAreFoundAnywhereInTheirBlockByTheirExactKey) {
    // URL before NAME with other fields around them; SHORT NAME and
    // DISPLAY URL are other fields.
    EXPECT_EQ(Loaded(Fixture("fields-in-any-order.adr")),
              "Opera Hotlist[ First=http://first.example/ Second=http://second.example/ ]");
}

TEST(OperaReader, LineBreakBytesInsideAFieldBecomeALineFeed) {
    EXPECT_EQ(Loaded(Fixture("line-break-0x02.adr")),
              "Opera Hotlist[ Two\nLines=http://two.example/ After=http://after.example/ ]");
    // A third 0x02 beside a break is half of none and is dropped: kept, it
    // would pair with the break the writer writes, and the name would
    // change at every round trip.
    EXPECT_EQ(Loaded(Fixture("lone-0x02-beside-line-break.adr")),
              "Opera Hotlist[ Li\nne=http://lone.example/ ]");
}

TEST(OperaReader, ByteOrderMarkAndUtf8Names) {
    EXPECT_EQ(Loaded(Fixture("utf8-bom.adr")),
              "Opera Hotlist[ 中文[ Café €=http://cafe.example/ ] ]");
}

TEST(OperaReader, TextThatIsNotUtf8IsWindows1252) {
    EXPECT_EQ(Loaded(Fixture("windows-1252.adr"), false), "Opera Hotlist[ Café € “ Crème ]");
}

TEST(OperaReader, AnsiNameWithUtf8LettersIsRepairedAndUtf8NameKeptAsWritten) {
    // Ç as its single byte, é as UTF-8: what writers that encode only some
    // letters as UTF-8 produce. In a UTF-8 name, Ã© is two characters.
    EXPECT_EQ(Loaded(Fixture("ansi-name-with-utf8-letters.adr"), false),
              "Opera Hotlist[ Ça va Café LitÃ©ral ]");
}

TEST(OperaReader, FolderWithoutNameIsAnUnnamedFolder) {
    EXPECT_EQ(Loaded(Fixture("folder-without-name.adr"), false),
              "Opera Hotlist[ Outside [ Inside ] ]");
}

TEST(OperaReader, UnclosedFoldersEndWithTheFileAndStrayEndLinesAreIgnored) {
    EXPECT_EQ(Loaded(Fixture("unclosed-folder.adr"), false),
              "Opera Hotlist[ Top Never closed[ C ] Open[ A Inner[ B ] ] ]");
}

TEST(OperaReader, SeparatorsDeletedBlocksAndOtherTagsCarryNoBookmark) {
    // A #DELETED block lists partner ids and has no end line: reading it as
    // a folder would swallow everything after it.
    EXPECT_EQ(Loaded(Fixture("separator-and-deleted.adr"), false),
              "Opera Hotlist[ Three Tools[ One Two ] ]");
}

TEST(OperaReader, LinkWithoutUrlIsUndefinedAndEmptyUrlIsAnEmptyFolder) {
    // The "-" right after the field block still closes Outer.
    EXPECT_EQ(Loaded(Fixture("link-without-url.adr")),
              "Opera Hotlist[ Top=http://top.example/ Empty address[ ] Outer[ No "
              "address=Undefined ] ]");
}

TEST(OperaReader, LastEntryWithoutFinalLineFeedIsRead) {
    EXPECT_EQ(Loaded(Fixture("no-final-line-feed.adr")),
              "Opera Hotlist[ First=http://first.example/ Last=http://last.example/ ]");
}

TEST(OperaReader, SiblingsWithEqualNamesKeepTheirNames) {
    EXPECT_EQ(Loaded(Fixture("duplicate-names.adr")),
              "Opera Hotlist[ Work=http://w.example/ Work[ ] Work[ Home=http://h1.example/ "
              "Home=http://h2.example/ ] ]");
}

TEST(OperaReader, MissingFileOrEmptyPathLeavesNoTreeAndCountsZero) {
    test::TempDir dir;
    BookmarkTree tree;
    EXPECT_FALSE(LoadOperaTree(tree, ""));
    EXPECT_FALSE(LoadOperaTree(tree, dir / "missing.adr"));
    EXPECT_FALSE(tree.HasRoot());
    cOperaFastScanning scanner;
    EXPECT_EQ(scanner.nTotalFolders(), -1);
    EXPECT_EQ(scanner.nTotalLinks(), -1);
    scanner.Scan(dir / "missing.adr");
    EXPECT_EQ(scanner.nTotalFolders(), 0);
    EXPECT_EQ(scanner.nTotalLinks(), 0);
    EXPECT_EQ(CountSource({StoreKind::Opera, dir / "missing.adr"}).read.reason,
              "No such file or directory");
}

TEST(OperaReader, ScannerReportsEachFolderAndSourceLoaderDispatches) {
    cOperaFastScanning scanner;
    std::vector<std::string> folders;
    scanner.FolderScan = [&](const std::string& name) { folders.push_back(name); };
    scanner.Scan(Fixture("link-without-url.adr"));
    EXPECT_EQ(folders, (std::vector<std::string>{"Outer", "Empty address"}));

    StoreLocation source{StoreKind::Opera, Fixture("unclosed-folder.adr")};
    auto [read, counts] = CountSource(source);
    ASSERT_TRUE(read);
    EXPECT_EQ(counts.folders, 3);
    EXPECT_EQ(counts.links, 4);
    BookmarkTree tree;
    ASSERT_TRUE(LoadSourceTree(source, tree));
    EXPECT_EQ(tree.Source(), StoreKind::Opera);
    EXPECT_EQ(test::TreeText(tree), "Opera Hotlist[ Top Never closed[ C ] Open[ A Inner[ B ] ] ]");
}

// The real-world hotlists: every one loads completely.
class OperaCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::CorpusDir().empty()) {
            GTEST_SKIP() << "shared corpus not present";
        }
    }
    static std::string File(const std::string& name) {
        return (test::CorpusDir() / "opera" / name).string();
    }
    struct Counts {
        std::int32_t folders;
        std::int32_t links;
    };
    static Counts CountOf(const std::string& name) {
        cOperaFastScanning scanner;
        scanner.Scan(File(name));
        return {scanner.nTotalFolders(), scanner.nTotalLinks()};
    }
};

TEST_F(OperaCorpus, Opera6TestHotlist) {
    // DISPLAY URL differs from URL on "Fake eBay"; the trash folder is a
    // folder like any other.
    EXPECT_EQ(
        Loaded(File("opera6-test.adr")),
        "Opera Hotlist[ Download.com=http://www.download.com/ "
        "Amazon.com=http://www.amazon.com/exec/obidos/redirect-home/opera-20 "
        "Dealtime.com=http://www.dealtime.com/BannerIn/1,2844,,00.html?linkin_id=3005960&path=/"
        "main&link=http://www.dealtime.com/ eBay=http://www.ebay.com/ "
        "Fake eBay=http://fake.ebay.com/ Opera[ Download Opera=http://www.opera.com/download/ "
        "Opera Community=http://my.opera.com/ Opera Web Mail=http://www.operamail.com/ "
        "Support Desk=http://www.opera.com/support/ ] Trash[ ] ]");
}

TEST_F(OperaCorpus, SpaceIndentedSingleLink) {
    EXPECT_EQ(
        Loaded(File("rt75463-space-indent.adr")),
        "Opera Hotlist[ Python=http://www.edgewall.org/python-sidebar/html/toc-tutorial.html ]");
}

TEST_F(OperaCorpus, HandWrittenWithTrailingBlanksMixedIndentAndAnUnclosedFolder) {
    EXPECT_EQ(Loaded(File("openmandriva-default-handwritten.adr"), false),
              "Opera Hotlist[ Community     [ Free Software Foundation The GNU Project Freshmeat "
              "GNOME KDE Linux.org Linux Foundation Linux Games Linux HeadQuarters Linux Kernel "
              "Archives X.org ] News[ All Linux Devices Linux.com Linux Planet Linux Today Linux "
              "Weekly News Slashdot Programming GCC GTK+ KDE - Developer's Corner OpenSource.org "
              "Perl.org Python.org Qt Overview RPM.org ] OpenMandriva[ OpenMandriva Web Site "
              "OpenMandriva Forums OpenMandriva Wiki ] ]");
    BookmarkTree tree;
    ASSERT_TRUE(LoadOperaTree(tree, File("openmandriva-default-handwritten.adr")));
    bool found = false;
    for (const auto& row : tree.EntryTable) {
        if (row.sName == "Programming") {
            EXPECT_EQ(row.sURL, "Programming "); // the bogus address, as written
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(OperaCorpus, Opera1150WithCrLfAndTheLastFolderLeftOpen) {
    EXPECT_EQ(Loaded(File("opera1150-default-crlf.adr"), false),
              "Opera Hotlist[ Opera[ Download Opera My Opera Community Support Desk Get started "
              "with Opera Opera Portal Download.com Kayak eBay Amazon Ask.com Bing Wikipedia "
              "Shopping Bigpoint Reddit AVG FastMail My Opera Mail Sports ] Trash[ ] ]");
}

TEST_F(OperaCorpus, PolishHotlistWithTrashUnnamedFolderAndLineBreakDescriptions) {
    // 40 folders, 152 links of which 3 have an empty URL= and so are empty
    // folders; the DESCRIPTION fields with 0x02 0x02 breaks stay out.
    auto counts = CountOf("polish-trash-desc-0x02.adr");
    EXPECT_EQ(counts.folders, 43);
    EXPECT_EQ(counts.links, 149);
    auto text = Loaded(File("polish-trash-desc-0x02.adr"), false);
    EXPECT_EQ(text.rfind("Opera Hotlist[ ", 0), 0u);
    EXPECT_NE(text.find(" [ ]"), std::string::npos); // the folder without NAME=
    EXPECT_NE(text.find("Kosz[ Download Opera My Opera Community Opera Web Mail Support Desk "),
              std::string::npos);
    EXPECT_NE(text.find("nauka różne["), std::string::npos);
    EXPECT_EQ(text.find('\x02'), std::string::npos);
}

TEST_F(OperaCorpus, ChineseHotlistWithBomSeparatorsAndADeletedBlock) {
    auto counts = CountOf("chinese-bom-seperator-deleted.adr");
    EXPECT_EQ(counts.folders, 30);
    EXPECT_EQ(counts.links, 829);
    auto text = Loaded(File("chinese-bom-seperator-deleted.adr"), false);
    EXPECT_EQ(text.rfind("Opera Hotlist[ ", 0), 0u);
    EXPECT_NE(
        text.find("Apple[ InsanelyMac Forum Apple - Movie Trailers Kexts OS X MacIdea 苹果论坛 "
                  "啃苹果论坛 威锋网 WOWPC 极限苹果 178源 "),
        std::string::npos);
    EXPECT_EQ(text.find("PARTNERID"), std::string::npos);
}

} // namespace
} // namespace tellavin
