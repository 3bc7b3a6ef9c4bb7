// What the readers keep besides folders and links (separators in place,
// dates, the toolbar folder) and what they note as left out, on fixtures
// named after what a conversion used to lose without a word.
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

TEST_P(SourceDetails, KeepsOrderSeparatorsDatesAndToolbarAndNotesTheRest) {
    const auto& c = GetParam();
    auto kindFolder = c.kind == StoreKind::Opera ? "opera" : "netscape";
    auto path = (fs::path(TELLAVIN_TEST_DATA) / kindFolder / c.file).string();
    BookmarkTree tree;
    ASSERT_TRUE(c.kind == StoreKind::Opera ? LoadOperaTree(tree, path)
                                           : BuildNetscapeTree(tree, path));
    EXPECT_EQ(test::OrderedTreeText(tree), c.tree);
    EXPECT_EQ(LossText(tree.ReadLosses), c.losses);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SourceDetails,
    ::testing::Values(
        // A Firefox export: the toolbar's mark, ADD_DATE and LAST_MODIFIED
        // (a date that is no number is none), <HR> where it stands; the
        // description, keyword, tags and icon noted, and the link whose
        // address has no scheme.
        DetailsCase{"FirefoxExport", StoreKind::Netscape,
                    "toolbar-dates-separators-order-lost.html",
                    "root[ Bookmarks Toolbar*[ Zeta=https://z.example/{1600000000/1600000500} --- "
                    "Alpha=https://a.example/{1600000100/0} ] --- Mid=https://m.example/ Work[ "
                    "W=https://w.example/{0/1700000000} ] Beta=https://b.example/ ]",
                    "Descriptions dropped: 1 (Mid)\n"
                    "Tags dropped: 1 (Alpha)\n"
                    "Keywords dropped: 1 (Alpha)\n"
                    "Icons dropped: 1 (Zeta)\n"
                    "Links without a usable address skipped: 1 (Broken)\n"},
        // A hotlist: the trash stays in the tree (the writers skip it), the
        // first folder on the personal bar is the toolbar, CREATED is the
        // creation date, #SEPERATOR a separator; an empty DESCRIPTION is
        // nothing lost.
        DetailsCase{
            "OperaHotlist", StoreKind::Opera, "trash-toolbar-dates-separators-lost.adr",
            "root[ Trash[ Deleted one=http://deleted/ Old[ Deleted two=http://deleted2/ ] ] "
            "Bar*[ Zeta=http://z/{1300000000/0} --- Alpha=http://a/ ] Second bar[ ] --- "
            "Top=http://top/ ]",
            "Descriptions dropped: 1 (Zeta)\n"
            "Keywords dropped: 1 (Zeta)\n"
            "Icons dropped: 1 (Zeta)\n"}),
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
