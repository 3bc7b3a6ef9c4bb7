// The bookmark file and hotlist writers with the source's order kept, on
// a selection: rows in place, separators written, the toolbar marked, and
// a checked folder below an unchecked one at that folder's place.
#include "support/event_tree.h"
#include "support/temp_dir.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

// z, a separator, the unchecked folder Out holding the checked In, then
// the toolbar Bar, and y last: nothing in the order a sort would give.
BookmarkTree SelectedTree() {
    auto tree = test::TreeFromEvents([](BookmarkSink& s) {
        s.AddLink("z", "http://z/");
        s.SetLinkDates(10, 20);
        s.AddSeparator();
        s.BeginFolder("Out");
        s.AddLink("skipped", "http://skipped/");
        s.BeginFolder("In");
        s.AddLink("kept", "http://kept/");
        s.EndFolder();
        s.EndFolder();
        s.BeginFolder("Bar");
        s.MarkToolbarFolder();
        s.EndFolder();
        s.AddLink("y", "http://y/");
    });
    for (std::int32_t node = 0; node < tree.NodeCount(); ++node) {
        tree.Node(node).Checked = tree.Node(node).Text != "Out";
    }
    for (auto& row : tree.EntryTable) {
        row.bChecked = row.sName != "skipped";
    }
    return tree;
}

TEST(KeepOrderWriters, BookmarkFileHoldsTheRowsInPlace) {
    test::TempDir dir;
    auto tree = SelectedTree();
    WriteOptions options;
    options.exportAll = false;
    options.keepOrder = true;
    NullProgress progress;
    ASSERT_TRUE(PrintBookmarkFile(tree, dir / "b.html", options, progress).Complete());
    auto text = test::ReadFile(dir.path() / "b.html");
    EXPECT_EQ(text.substr(text.find("\r\n\r\n") + 4),
              "<DL><p>\r\n"
              "    <DT><A HREF=\"http://z/\" ADD_DATE=\"10\" LAST_MODIFIED=\"20\">z</A>\r\n"
              "    <HR>\r\n"
              "    <DT><H3 FOLDED ADD_DATE=\"\">In</H3>\r\n"
              "    <DL><p>\r\n"
              "        <DT><A HREF=\"http://kept/\">kept</A>\r\n"
              "    </DL><p>\r\n"
              "    <DT><H3 FOLDED ADD_DATE=\"\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>\r\n"
              "    <DL><p>\r\n"
              "    </DL><p>\r\n"
              "    <DT><A HREF=\"http://y/\">y</A>\r\n"
              "</DL><p>\r\n");
}

TEST(KeepOrderWriters, HotlistHoldsTheRowsInPlaceAndNamesTheChangeDate) {
    test::TempDir dir;
    auto tree = SelectedTree();
    WriteOptions options;
    options.exportAll = false;
    options.keepOrder = true;
    NullProgress progress;
    auto result = PrintHotlistFile(tree, dir / "h.adr", options, progress);
    ASSERT_TRUE(result.Complete());
    EXPECT_EQ(test::ReadFile(dir.path() / "h.adr"),
              "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n"
              "#URL\r\n    NAME=z\r\n    URL=http://z/\r\n    CREATED=10\r\n"
              "    ORDER =  0 \r\n\r\n"
              "#SEPERATOR\r\n\r\n"
              "#FOLDER\r\n    NAME=In\r\n    ORDER = -1 \r\n\r\n"
              "#URL\r\n    NAME=kept\r\n    URL=http://kept/\r\n    ORDER =  0 \r\n\r\n"
              "-\r\n"
              "#FOLDER\r\n    NAME=Bar\r\n    ON PERSONALBAR=YES\r\n    ORDER = -1 \r\n\r\n"
              "-\r\n"
              "#URL\r\n    NAME=y\r\n    URL=http://y/\r\n    ORDER =  0 \r\n\r\n");
    EXPECT_EQ(result.losses.Lines(), std::vector<std::string>{"Change dates dropped: 1 (z)"});
}

} // namespace
} // namespace tellavin
