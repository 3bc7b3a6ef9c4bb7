// The menu page with the source's order kept: rows at their places, the
// separators as dividers; sorted, the separators are reported as dropped.
#include "model/file_tree_builder.h"
#include "targets/menu_page.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace tellavin {
namespace {

// Every text fits its item and no bar item is widened.
class NarrowMeasure final : public TextMeasure {
public:
    std::int32_t TextWidth(std::string_view) const override { return 10; }
};

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

//  Bookmarks (node 0): Zeta, ---, news (node 1), ---, alpha
//    news: Daily, ---, Archive
void BuildTreeWithSeparators(BookmarkTree& tree) {
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("Bookmarks");
    builder.AddLink("Zeta", "http://z/");
    builder.AddSeparator();
    builder.BeginFolder("news");
    builder.AddLink("Daily", "http://d/");
    builder.AddSeparator();
    builder.AddLink("Archive", "http://r/");
    builder.EndFolder();
    builder.AddSeparator();
    builder.AddLink("alpha", "http://a/");
    builder.Finish();
}

// Checks the news folder and its link Daily only.
void CheckNewsAndDaily(BookmarkTree& tree) {
    tree.Node(1).Checked = true;
    for (auto& row : tree.EntryTable) {
        row.bChecked = row.sName == "Daily";
    }
}

// The menu declarations, the loss report and the counts of one page.
std::string Outcome(const MenuPage& page) {
    auto start = page.text.find("startMenu('root'");
    auto end = page.text.find("hideDelay=1500;\r\n", start);
    std::string outcome = page.text.substr(start, end - start);
    for (const auto& line : page.result.losses.Lines()) {
        outcome += "loss: " + line + "\r\n";
    }
    outcome += "links " + std::to_string(page.result.nLinksWritten) + ", items " +
               std::to_string(page.result.nMenuItems) + ", folders " +
               std::to_string(page.result.nFoldersWritten) + "\r\n";
    return outcome;
}

struct OrderCase {
    const char* name;
    bool keepOrder;
    bool exportAll;
    std::int32_t maxItems;
    std::string expected;
};

TEST(MenuPageOrder, SubmenusFollowTheSourceOrSortAndReportTheSeparators) {
    // The news submenu with everything exported and the order kept.
    const std::string kNewsKept = Lines({
        "",
        "startMenu('m1', true, 227, 0, 230, subM);",
        " addItem('Daily', 'http://d/', 'nw:');",
        " addItem('', '', 'div:');",
        " addItem('Archive', 'http://r/', 'nw:');",
    });
    const std::vector<OrderCase> cases = {
        {"sorted: folders then links by name, separators reported", false, true, 25,
         Lines({
             "startMenu('root', false, 10, 0, 17, hBar);",
             " addItem('Bookmarks', 'm0', 'sm:');",
             "",
             "startMenu('m0', true, 0, 20, 230, subM);",
             " addItem('news', 'm1', 'sm:');",
             " addItem('alpha', 'http://a/', 'nw:');",
             " addItem('Zeta', 'http://z/', 'nw:');",
             "",
             "startMenu('m1', true, 227, 0, 230, subM);",
             " addItem('Archive', 'http://r/', 'nw:');",
             " addItem('Daily', 'http://d/', 'nw:');",
             "loss: Separators dropped: 3 (top level, news, ...)",
             "links 4, items 6, folders 1",
         })},
        {"kept: every row at its place, each separator a divider", true, true, 25,
         Lines({
             "startMenu('root', false, 10, 0, 17, hBar);",
             " addItem('Bookmarks', 'm0', 'sm:');",
             "",
             "startMenu('m0', true, 0, 20, 230, subM);",
             " addItem('Zeta', 'http://z/', 'nw:');",
             " addItem('', '', 'div:');",
             " addItem('news', 'm1', 'sm:');",
             " addItem('', '', 'div:');",
             " addItem('alpha', 'http://a/', 'nw:');",
         }) + kNewsKept +
             Lines({"links 4, items 9, folders 1"})},
        {"kept with a selection: the written folder keeps its separator", true, false, 25,
         Lines({
             "startMenu('root', false, 10, 0, 17, hBar);",
             " addItem('news', 'm1', 'sm:');",
             "",
             "startMenu('m1', true, 0, 20, 230, subM);",
             " addItem('Daily', 'http://d/', 'nw:');",
             " addItem('', '', 'div:');",
             "links 1, items 3, folders 1",
         })},
        {"kept with breaks: a divider takes a row of the menu", true, true, 3,
         Lines({
             "startMenu('root', false, 10, 0, 17, hBar);",
             " addItem('Bookmarks', 'm0', 'sm:');",
             "",
             "startMenu('m0', true, 0, 20, 230, subM);",
             " addItem('Zeta', 'http://z/', 'nw:');",
             " addItem('', '', 'div:');",
             " addItem('more...', 'mmo0_1', 'sm:');",
             "startMenu('mmo0_1', true, 227, -42, 230, subM);",
             " addItem('news', 'm1', 'sm:');",
             " addItem('', '', 'div:');",
             " addItem('alpha', 'http://a/', 'nw:');",
         }) + kNewsKept +
             Lines({"links 4, items 10, folders 1"})},
    };
    for (const auto& c : cases) {
        BookmarkTree tree;
        BuildTreeWithSeparators(tree);
        if (!c.exportAll) {
            CheckNewsAndDaily(tree);
        }
        MenuPageOptions options;
        WriteOptions write;
        write.exportAll = c.exportAll;
        write.keepOrder = c.keepOrder;
        options.nMaxItems = c.maxItems;
        NullProgress progress;
        EXPECT_EQ(Outcome(ComposeMenuPage(tree, write, options, progress, NarrowMeasure())),
                  c.expected)
            << c.name;
    }
}

} // namespace
} // namespace tellavin
