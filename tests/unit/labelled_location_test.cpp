#include "model/labelled_location.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

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
