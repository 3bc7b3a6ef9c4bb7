#include "model/file_tree_builder.h"
#include "targets/folder_links.h"
#include "text/utf8_repair.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

std::vector<std::string> Names(const std::vector<LinkItem>& links) {
    std::vector<std::string> names;
    for (const auto& link : links) {
        names.push_back(link.name);
    }
    return names;
}

TEST(SortLinks, OrdersByLowerCasedName) {
    std::vector<LinkItem> links = {{"beta", "b"}, {"Alpha", "a"}, {"alpha2", "a2"}};
    SortLinks(links, 2);
    EXPECT_EQ(Names(links), (std::vector<std::string>{"Alpha", "alpha2", "beta"}));
    EXPECT_EQ(links[0].url, "a"); // addresses move with their names
    std::vector<LinkItem> accents = {{"\xC3\x89t\xC3\xA9", ""},
                                     {"zoo", ""},
                                     {"\xC3\xA9"
                                      "a",
                                      ""}};
    SortLinks(accents, 2);
    // É lowers to é, which sorts after z by code unit.
    EXPECT_EQ(Names(accents), (std::vector<std::string>{"zoo",
                                                        "\xC3\xA9"
                                                        "a",
                                                        "\xC3\x89t\xC3\xA9"}));
}

// Names that all begin alike sort by what follows; the shortest first.
TEST(SortLinks, NamesThatBeginAlikeSortByWhatFollows) {
    std::vector<LinkItem> links = {{"News 10", ""},  {"news 2", ""}, {"News 1a", ""},
                                   {"NEWS 1", ""},   {"News", ""},   {"news 100", ""},
                                   {"news 101", ""}, {"Newsy", ""}};
    SortLinks(links, 7);
    EXPECT_EQ(Names(links), (std::vector<std::string>{"News", "NEWS 1", "News 10", "news 100",
                                                      "news 101", "News 1a", "news 2", "Newsy"}));
}

TEST(SortLinks, EqualNamesComeOutAsTheShellSortLeavesThem) {
    // With gaps 4 and 1 over six items the procedure moves the later "a"
    // (A2) in front of the earlier one; a stable sort would not.
    std::vector<LinkItem> links = {{"b", "B1"}, {"a", "A1"}, {"c", "C1"},
                                   {"d", "D1"}, {"a", "A2"}, {"A", "A3"}};
    SortLinks(links, 5);
    std::vector<std::string> urls;
    for (const auto& link : links) {
        urls.push_back(link.url);
    }
    EXPECT_EQ(urls, (std::vector<std::string>{"A2", "A1", "A3", "B1", "C1", "D1"}));
}

TEST(GetFolderLinks, TakesCheckedLinksOrAllAndSkipsFolderRows) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (int i = 149; i >= 0; --i) {
        builder.AddLink("link" + std::to_string(1000 + i), "http://" + std::to_string(i));
    }
    builder.BeginFolder("sub");
    builder.EndFolder();
    builder.Finish();
    auto all = GetFolderLinks(tree, 0, true);
    ASSERT_EQ(all.size(), 150u);
    EXPECT_EQ(all.front().name, "link1000");
    EXPECT_EQ(all.back().name, "link1149");
    EXPECT_TRUE(GetFolderLinks(tree, 0, false).empty());
    EXPECT_TRUE(GetFolderLinks(tree, 1, true).empty()); // the empty sub-folder
    tree.EntryTable[3].bChecked = true;
    auto checked = GetFolderLinks(tree, 0, false);
    ASSERT_EQ(checked.size(), 1u);
    EXPECT_EQ(checked[0].name, "link1146");
}

TEST(RepairUtf8Text, MisreadUtf8BecomesTheCharacterAgain) {
    // "Café" whose é was read as the two characters Ã and ©.
    EXPECT_EQ(RepairUtf8Text("Caf\xC3\x83\xC2\xA9"), "Caf\xC3\xA9");
    // € read as â‚¬, the en dash as â€“ (which becomes a hyphen).
    EXPECT_EQ(RepairUtf8Text("5\xC3\xA2\xE2\x80\x9A\xC2\xAC \xC3\xA2\xE2\x82\xAC\xE2\x80\x9C x"),
              "5\xE2\x82\xAC - x");
    // Characters outside the table (ß read as ÃŸ) stay as they are.
    EXPECT_EQ(RepairUtf8Text("\xC3\x83\xC5\xB8"), "\xC3\x83\xC5\xB8");
    EXPECT_EQ(RepairUtf8Text("plain"), "plain");
}

} // namespace
} // namespace tellavin
