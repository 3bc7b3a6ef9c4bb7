// What the readers keep besides folders and links (separators in place,
// dates, descriptions, keywords, tags, the toolbar folder, names as they
// are) and what they note as left out, on fixtures named after what a
// conversion used to lose without a word.
#include "sources/netscape_reader.h"
#include "sources/opera_reader.h"
#include "support/ordered_tree.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

struct DetailsCase {
    const char* name;
    StoreKind kind;
    const char* file;   // below tests/data/<netscape|opera>
    std::string tree;   // OrderedTreeText of what was read
    std::string losses; // the tree's ReadLosses, one line each
};

std::string LossText(const LossReport& report) {
    std::string text;
    for (const auto& line : report.Lines()) {
        text += line + "\n";
    }
    return text;
}

class SourceDetails : public ::testing::TestWithParam<DetailsCase> {};

TEST_P(SourceDetails, KeepsOrderSeparatorsDatesDetailsAndToolbarAndNotesTheRest) {
    const auto& c = GetParam();
    auto kindFolder = c.kind == StoreKind::Opera ? "opera" : "netscape";
    auto path = (fs::path(TELLAVIN_TEST_DATA) / kindFolder / c.file).string();
    BookmarkTree tree;
    ASSERT_TRUE(c.kind == StoreKind::Opera ? LoadOperaTree(tree, path)
                                           : BuildNetscapeTree(tree, path));
    EXPECT_EQ(test::OrderedTreeText(tree, true, true), c.tree);
    EXPECT_EQ(LossText(tree.ReadLosses), c.losses);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SourceDetails,
    ::testing::Values(
        // A Firefox export: the toolbar's mark, ADD_DATE and LAST_MODIFIED
        // of links and folders (a date that is no number is none), <HR>
        // where it stands, the description, keyword and tags; the icon
        // noted, and the link whose address has no scheme.
        DetailsCase{"FirefoxExport", StoreKind::Netscape,
                    "toolbar-dates-separators-order-lost.html",
                    "root[ Bookmarks Toolbar*{1500000000/1500000001}[ "
                    "Zeta=https://z.example/{1600000000/1600000500} --- "
                    "Alpha=https://a.example/{1600000100/0}<k:ax t:one,two> ] --- "
                    "Mid=https://m.example/<d:A site worth a description> Work[ "
                    "W=https://w.example/{0/1700000000} ] Beta=https://b.example/ ]",
                    "Icons dropped: 1 (Zeta)\n"
                    "Links without a usable address skipped: 1 (Broken)\n"},
        // A folder's <DD> is its description, over lines and with its
        // references decoded; keywords and tags are trimmed, empty and
        // repeated tags dropped; a <DD> after the header or after a link
        // that was skipped belongs to nothing; equal names stay equal.
        DetailsCase{"FolderDescriptionsEqualNames", StoreKind::Netscape,
                    "folder-descriptions-equal-names.html",
                    "root[ Trains{1500000000/1500000002}<d:Timetables & tickets\nover two lines>[ "
                    "Deutsche Bahn=https://bahn.example/1<d:Weather <today> k:db t:rail,travel> "
                    "Deutsche Bahn=https://bahn.example/2 ] Trains[ ] ]",
                    "Links without a usable address skipped: 1 (Lost)\n"},
        // A description ends where a link starts, even inside it; one with
        // no text is none.
        DetailsCase{"DescriptionEndsAtALink", StoreKind::Netscape,
                    "descriptions-and-separators.html",
                    "root[ Radio<d:Roots go deep.\n\nIn 1967, a>[ quoted=http://not.a.link/ "
                    "A=http://a.example/<d:The best show.> B=http://b.example/ ] --- "
                    "C=http://c.example/ ]",
                    ""},
        // A hotlist: the trash stays in the tree (the writers skip it), the
        // first folder on the personal bar is the toolbar, CREATED is a
        // link's or folder's creation date, DESCRIPTION and SHORT NAME are
        // kept, #SEPERATOR is a separator; an empty DESCRIPTION is none.
        DetailsCase{"OperaHotlist", StoreKind::Opera, "trash-toolbar-dates-separators-lost.adr",
                    "root[ Trash[ Deleted one=http://deleted/ Old[ Deleted two=http://deleted2/ ] "
                    "] Bar*{1200000000/0}[ Zeta=http://z/{1300000000/0}<d:About zeta k:z> --- "
                    "Alpha=http://a/ ] Second bar[ ] --- Top=http://top/ ]",
                    "Icons dropped: 1 (Zeta)\n"},
        // A folder's DESCRIPTION with a line break in it (0x02 0x02), a
        // link's in Windows-1252 and equal names kept as they are.
        DetailsCase{"HotlistDescriptionsEqualNames", StoreKind::Opera,
                    "descriptions-keywords-equal-names.adr",
                    "root[ Food{1200000000/0}<d:Recipes\nand more>[ "
                    "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                    "e=http://creme/<d:Sweet \xE2\x80\x94 cold "
                    "k:creme> Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                    "e=http://creme2/ ] ]",
                    ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The report counts every loss and keeps the first few examples.
TEST(LossReport, CountsEveryLossAndShowsTheFirstThree) {
    LossReport report;
    for (const char* name : {"a", "b", "c", "d"}) {
        report.Note(LossKind::SeparatorDropped, name);
    }
    LossReport other;
    other.Note(LossKind::NameChanged, RenamedExample("x/y", "x-y"));
    other.Note(LossKind::SeparatorDropped, "e");
    report.Add(other);
    EXPECT_EQ(LossText(report), "Names changed for the file system: 1 (\"x/y\" -> \"x-y\")\n"
                                "Separators dropped: 5 (a, b, c, ...)\n");
}

} // namespace
} // namespace tellavin
