// Sources read from temporary folders: what reading cannot take into the
// tree is counted in what it left out, and the report shows it briefly.
#include "model/bookmark_counts.h"
#include "sources/source_loader.h"
#include "support/ordered_tree.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;

// The tree a source loads as, then one line per kind of loss; the counts
// the scanner gives must equal the tree.
std::string LoadedWithLosses(const StoreLocation& source) {
    BookmarkTree tree;
    EXPECT_TRUE(LoadSourceTree(source, tree)) << source.path;
    auto [read, counts] = CountSource(source);
    auto loaded = CountBookmarks(tree);
    EXPECT_TRUE(read && counts.folders == loaded.folders && counts.links == loaded.links);
    auto text = test::OrderedTreeText(tree);
    for (const auto& line : tree.ReadLosses.Lines()) {
        text += "\n" + line;
    }
    return text;
}

// A Chromium Bookmarks file whose bookmarks bar holds the given nodes.
std::string BookmarksWithBar(const std::string& nodes) {
    return R"({"roots": {"bookmark_bar": {"type": "folder", "name": "Bar", "children": [)" + nodes +
           "]}}, \"version\": 1}";
}

std::string LoadedFile(const std::string& bytes, StoreKind kind = StoreKind::Netscape) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "Bookmarks", bytes);
    return LoadedWithLosses({kind, dir / "Bookmarks"});
}

TEST(ChromiumBookmarks, NodesOfUnknownTypeAndChildrenOfLinksAreCountedAsSkipped) {
    const std::pair<std::string, std::string> cases[] = {
        // A node without a type, with a type that is no text or of no kind
        // Chromium knows: each is one entry skipped.
        {R"({"name": "No type", "url": "http://a/"},
            {"type": 7, "name": "Number type", "url": "http://b/"},
            {"type": "bookmark", "name": "Odd type", "url": "http://c/"},
            {"type": "url", "name": "Kept", "url": "http://d/"})",
         "root[ Bar*[ Kept=http://d/ ] ]\n"
         "Entries of an unknown kind or place skipped: 3 (No type, Number type, Odd type)"},
        // Everything below a link is skipped, however deep; the link stays.
        {R"({"type": "url", "name": "Parent", "url": "http://p/", "children": [
              {"type": "url", "name": "Child", "url": "http://c/"},
              {"type": "folder", "name": "Inner", "children": [
                {"type": "url", "name": "Grandchild", "url": "http://g/"}]}]})",
         "root[ Bar*[ Parent=http://p/ ] ]\n"
         "Entries of an unknown kind or place skipped: 3 (Child, Inner, Grandchild)"},
        // Below a skipped node, too, every entry counts.
        {R"({"type": "separator", "name": "Odd", "children": [
              {"type": "url", "name": "Under odd", "url": "http://u/"}]})",
         "root[ Bar*[ ] ]\n"
         "Entries of an unknown kind or place skipped: 2 (Odd, Under odd)"},
        // Links without an address.
        {R"({"type": "url", "name": "Missing"}, {"type": "url", "name": "Blank", "url": ""},
            {"type": "url", "name": "Not text", "url": 5})",
         "root[ Bar*[ ] ]\n"
         "Links without a usable address skipped: 3 (Missing, Blank, Not text)"},
    };
    for (const auto& [nodes, expected] : cases) {
        EXPECT_EQ(LoadedFile(BookmarksWithBar(nodes)), expected) << nodes;
    }
}

#ifndef _WIN32
// A Favorites folder whose shortcuts were last written at the given times
// (seconds since 1970), set through the C++ library's file clock.
std::string LoadedFavorites(const std::vector<std::pair<std::string, std::int64_t>>& links) {
    test::TempDir dir;
    for (const auto& [name, seconds] : links) {
        auto file = dir.path() / (name + ".url");
        test::WriteFile(file, "[InternetShortcut]\r\nURL=http://" + name + "/\r\n");
        fs::last_write_time(file, std::chrono::file_clock::from_sys(
                                      std::chrono::sys_seconds(std::chrono::seconds(seconds))));
    }
    return LoadedWithLosses({StoreKind::Favorites, dir.path().string()});
}
#endif

// Dates a link can carry lie after 1 January 1970 and within the year 9999
// (at most 253402300799 seconds); any other date a source gives is dropped
// and counted, a date the source does not give stays silent.
TEST(LinkDates, DatesOutOfRangeAreDroppedAndCountedInEveryReader) {
    const std::pair<std::function<std::string()>, std::string> cases[] = {
        {[] {
             return LoadedFile(
                 "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                 R"(<DT><A HREF="http://a/" ADD_DATE="-5" LAST_MODIFIED="0">Negative</A>)"
                 "\n"
                 R"(<DT><A HREF="http://b/" ADD_DATE="9223372036854775807")"
                 R"( LAST_MODIFIED="253402300800">Huge</A>)"
                 "\n"
                 R"(<DT><A HREF="http://c/" ADD_DATE="253402300799" LAST_MODIFIED="1">Edges</A>)"
                 "\n"
                 R"(<DT><A HREF="http://d/">Undated</A>)"
                 "\n</DL><p>\n");
         },
         "root[ Negative=http://a/ Huge=http://b/ Edges=http://c/{253402300799/1} "
         "Undated=http://d/ ]\n"
         "Creation dates dropped: 2 (Negative, Huge)\n"
         "Change dates dropped: 2 (Negative, Huge)"},
        {[] {
             return LoadedFile(
                 "Opera Hotlist version 2.0\nOptions: encoding = utf8, version=3\n\n"
                 "#URL\n\tNAME=Negative\n\tURL=http://a/\n\tCREATED=-5\n\n"
                 "#URL\n\tNAME=Zero\n\tURL=http://z/\n\tCREATED=0\n\n"
                 "#URL\n\tNAME=Huge\n\tURL=http://b/\n\tCREATED=9223372036854775807\n\n"
                 "#URL\n\tNAME=Kept\n\tURL=http://c/\n\tCREATED=1\n\n"
                 "#URL\n\tNAME=Undated\n\tURL=http://d/\n\n",
                 StoreKind::Opera);
         },
         "root[ Negative=http://a/ Zero=http://z/ Huge=http://b/ Kept=http://c/{1/0} "
         "Undated=http://d/ ]\n"
         "Creation dates dropped: 3 (Negative, Zero, Huge)"},
        // Chromium counts microseconds from 1601; "0" is its own "no date".
        {[] {
             return LoadedFile(BookmarksWithBar(
                 R"({"type": "url", "name": "Negative", "url": "http://a/", "date_added": "-5"},
                    {"type": "url", "name": "Epoch", "url": "http://e/",
                     "date_added": "11644473600000000"},
                    {"type": "url", "name": "Huge", "url": "http://b/",
                     "date_added": "9223372036854775807"},
                    {"type": "url", "name": "Kept", "url": "http://c/",
                     "date_added": "11644473601000000"},
                    {"type": "url", "name": "Null", "url": "http://n/", "date_added": "0"},
                    {"type": "url", "name": "Undated", "url": "http://d/"})"));
         },
         "root[ Bar*[ Negative=http://a/ Epoch=http://e/ Huge=http://b/ Kept=http://c/{1/0} "
         "Null=http://n/ Undated=http://d/ ] ]\n"
         "Creation dates dropped: 3 (Negative, Epoch, Huge)"},
#ifndef _WIN32
        {[] {
             return LoadedFavorites({{"Negative", -5}, {"Epoch", 0}, {"Kept", 1000000000}});
         },
         "root[ Epoch=http://Epoch/ Kept=http://Kept/{0/1000000000} Negative=http://Negative/ ]\n"
         "Change dates dropped: 2 (Epoch, Negative)"},
#endif
    };
    for (const auto& [load, expected] : cases) {
        EXPECT_EQ(load(), expected);
    }
}

// Each example a loss line shows is cut to 60 characters, never inside
// one, wherever the report is shown.
TEST(LossReport, LongExampleNamesAreCutAtACharacterBoundary) {
    test::TempDir dir;
    std::string accented;
    for (int i = 0; i < 100; ++i) {
        accented += "\xC3\xA9"; // é
    }
    std::string mixed = std::string(30, 'a');
    for (int i = 0; i < 50; ++i) {
        mixed += "\xF0\x9F\x98\x80"; // an emoji of four bytes
    }
    test::WriteFile(dir.path() / "long.html",
                    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                    "<DT><A HREF=\"http://a/\" TAGS=\"t\">" +
                        accented + "</A>\n" + "<DT><A HREF=\"http://b/\">" + mixed + "</A>\n" +
                        "<DT><A HREF=\"http://c/\">" + mixed + "</A>\n" +
                        "<DT><A HREF=\"http://d/\" TAGS=\"t\">Short</A>\n</DL><p>\n");
    std::filesystem::create_directories(dir.path() / "Favorites");
    auto run = test::RunCliHere("convert '" + (dir / "long.html") +
                                "' 'favorites:" + (dir / "Favorites") + "'");
    std::string cutAccented;
    for (int i = 0; i < 60; ++i) {
        cutAccented += "\xC3\xA9";
    }
    std::string cutRenamed = "\"" + std::string(30, 'a');
    for (int i = 0; i < 29; ++i) {
        cutRenamed += "\xF0\x9F\x98\x80";
    }
    EXPECT_EQ(run.out, "0 Folders & 4 Links Exported Successfully.\n"
                       "Not carried over:\n"
                       "  Duplicate names numbered: 1 (" +
                           cutRenamed +
                           "...)\n"
                           "  Tags dropped: 2 (Short, " +
                           cutAccented + "...)\n");
}

} // namespace
} // namespace tellavin
