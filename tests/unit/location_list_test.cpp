#include "model/location_list.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

LocationList ListOf(std::initializer_list<const char*> items) {
    LocationList list;
    for (const char* item : items) {
        list.AddItem(item);
    }
    return list;
}

TEST(FindComboItem, FirstExactCaseSensitiveMatch) {
    auto list = ListOf(
        {"- Please Select -", "/a/bookmarks.html", "/A/bookmarks.html", "/a/bookmarks.html"});
    int index = 99;
    EXPECT_TRUE(FindComboItem(list, "/a/bookmarks.html", index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(FindComboItem(list, "/A/bookmarks.html", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(FindComboItem(list, "/a/bookmarks.htm", index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(FindComboItem(list, "/a/bookmarks.html ", index));
    EXPECT_FALSE(FindComboItem(LocationList(), "", index));
    EXPECT_EQ(index, -1);
}

TEST(LocationList, TextAndSelectionFollowEachOther) {
    auto list = ListOf({"prompt", "/x.html", "/y.html", "/x.html"});
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");

    list.SetText("/x.html"); // the first equal item is selected
    EXPECT_EQ(list.ListIndex(), 1);
    list.SetText("/typed.html"); // a typed text selects nothing
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "/typed.html");

    EXPECT_TRUE(list.SetListIndex(2));
    EXPECT_EQ(list.Text(), "/y.html");
    EXPECT_FALSE(list.SetListIndex(4));
    EXPECT_FALSE(list.SetListIndex(-2));
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_TRUE(list.SetListIndex(-1));
    EXPECT_EQ(list.Text(), "");
}

TEST(LocationList, SelectionStaysOnItsItemWhenItemsMove) {
    auto list = ListOf({"prompt", "/a", "/b", "/c"});
    list.SetListIndex(2); // "/b"
    EXPECT_TRUE(list.InsertItem(1, "/new"));
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_TRUE(list.InsertItem(list.Count(), "/last"));
    EXPECT_FALSE(list.InsertItem(list.Count() + 1, "/beyond"));
    EXPECT_EQ(list.ListIndex(), 3);
    EXPECT_TRUE(list.RemoveItem(1));
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Item(list.ListIndex()), "/b");
    EXPECT_FALSE(list.RemoveItem(list.Count()));

    // Moving the chosen item just below the prompt, as the windows do.
    list.InsertItem(1, list.Text());
    list.RemoveItem(list.ListIndex());
    list.SetListIndex(1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"prompt", "/b", "/a", "/c", "/last"}));

    // Removing the selected item ends the selection but keeps the text.
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "/b");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(LabelledLocation, BuildsAndParsesBothForms) {
    auto item = LabelledLocation("default", "C:\\x\\bookmarks.html");
    EXPECT_EQ(item, "<default> C:\\x\\bookmarks.html");
    EXPECT_EQ(LocationPath(item), "C:\\x\\bookmarks.html");
    EXPECT_EQ(LocationLabel(item), "default");

    EXPECT_EQ(LocationPath("/home/ann/bookmarks.html"), "/home/ann/bookmarks.html");
    EXPECT_EQ(LocationLabel("/home/ann/bookmarks.html"), "");

    EXPECT_EQ(LocationLabel("<> /p.html"), "");
    EXPECT_EQ(LocationPath("<> /p.html"), "/p.html");
    EXPECT_EQ(LocationPath("<NoName>"), "");
    EXPECT_EQ(LocationPath("<a>b> /x/y.html"), "/x/y.html");
    EXPECT_EQ(LocationLabel("<NoName>"), "NoName");
}

TEST(LabelledLocation, AngleBracketsInsideLabelsAndPaths) {
    // A label holding ">" ends at the last "> ".
    auto item = LabelledLocation("work>old", "/p/bookmarks.html");
    EXPECT_EQ(LocationLabel(item), "work>old");
    EXPECT_EQ(LocationPath(item), "/p/bookmarks.html");
    // POSIX file names may hold ">": a bare path stays whole, and a labelled
    // path keeps its ">".
    EXPECT_EQ(LocationPath("/tmp/a>b/bookmarks.html"), "/tmp/a>b/bookmarks.html");
    EXPECT_EQ(LocationLabel("/tmp/a>b/bookmarks.html"), "");
    item = LabelledLocation("default", "/tmp/a>b/bookmarks.html");
    EXPECT_EQ(LocationPath(item), "/tmp/a>b/bookmarks.html");
    EXPECT_EQ(LocationLabel(item), "default");
}

} // namespace
} // namespace tellavin
