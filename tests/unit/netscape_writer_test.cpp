#include "model/file_tree_builder.h"
#include "sources/favorites_reader.h"
#include "sources/netscape_reader.h"
#include "support/event_tree.h"
#include "support/message_text.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/netscape_writer.h"
#include "text/encoding.h"

#ifndef _WIN32
#include <csignal>
#endif
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace tellavin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHeader = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                                "<!-- This is an automatically generated file (by TL).\r\n"
                                "It will be read and overwritten.\r\n"
                                "Do Not Edit! -->\r\n"
                                "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                                "charset=UTF-8\">\r\n";

// Root: links Beta (U2) and alpha (U1); folder News with Daily (U3).
void BuildExampleTree(BookmarkTree& tree, const std::string& scheme = "") {
    FileTreeBuilder builder(tree, StoreKind::Favorites);
    builder.AddLink("Beta", scheme + "U2");
    builder.AddLink("alpha", scheme + "U1");
    builder.BeginFolder("News");
    builder.AddLink("Daily", scheme + "U3");
    builder.EndFolder();
    builder.Finish();
}

WriteOptions Options(bool linksBefore = false) {
    WriteOptions options;
    options.profileName = "Ann";
    options.links = linksBefore ? LinksPlacement::BeforeFolders : LinksPlacement::AfterFolders;
    return options;
}

TEST(NetscapeWriter, WritesTheReferenceFileByteForByte) {
    BookmarkTree tree;
    BuildExampleTree(tree);
    test::TempDir dir;
    auto result =
        PrintBookmarkFile(tree, dir / "bookmarks.html", Options(true), test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_EQ(result.nFoldersWritten, 1);
    EXPECT_EQ(result.nLinksWritten, 3);
    EXPECT_EQ(test::ReadFile(dir.path() / "bookmarks.html"),
              std::string(kHeader) + "<TITLE>Bookmarks for Ann</TITLE>\r\n"
                                     "<H1>Bookmarks for Ann</H1>\r\n"
                                     "\r\n"
                                     "<DL><p>\r\n"
                                     "    <DT><A HREF=\"U1\">alpha</A>\r\n"
                                     "    <DT><A HREF=\"U2\">Beta</A>\r\n"
                                     "    <DT><H3 FOLDED ADD_DATE=\"\">News</H3>\r\n"
                                     "    <DL><p>\r\n"
                                     "        <DT><A HREF=\"U3\">Daily</A>\r\n"
                                     "    </DL><p>\r\n"
                                     "</DL><p>\r\n");
}

// A folder's dates on its heading and its description after it; a link's
// keyword and comma-separated tags as attributes after its dates and its
// description after it, each escaped; equal names written as they are.
TEST(NetscapeWriter, DetailsAndEqualNamesAreWrittenAsFirefoxWritesThem) {
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("Trains");
        sink.SetFolderDates(1'500'000'000, 1'500'000'002);
        sink.SetFolderDescription("Timetables & <tickets>");
        sink.AddLink("Deutsche Bahn", "https://bahn.example/1");
        sink.SetLinkDates(1'600'000'000, 0);
        sink.SetLinkKeyword("d\"b");
        sink.SetLinkTags({"rail", "travel"});
        sink.SetLinkDescription("Two\nlines");
        sink.AddLink("Deutsche Bahn", "https://bahn.example/2");
        sink.EndFolder();
    });
    test::TempDir dir;
    auto options = Options();
    options.keepOrder = true;
    auto result = PrintBookmarkFile(tree, dir / "bookmarks.html", options, test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_EQ(
        test::ReadFile(dir.path() / "bookmarks.html").substr(std::string(kHeader).size()) +
            std::to_string(result.losses.Lines().size()),
        "<TITLE>Bookmarks for Ann</TITLE>\r\n"
        "<H1>Bookmarks for Ann</H1>\r\n"
        "\r\n"
        "<DL><p>\r\n"
        "    <DT><H3 FOLDED ADD_DATE=\"1500000000\" LAST_MODIFIED=\"1500000002\">Trains</H3>\r\n"
        "    <DD>Timetables &amp; &lt;tickets&gt;\r\n"
        "    <DL><p>\r\n"
        "        <DT><A HREF=\"https://bahn.example/1\" ADD_DATE=\"1600000000\" "
        "SHORTCUTURL=\"d&quot;b\" TAGS=\"rail,travel\">Deutsche Bahn</A>\r\n"
        "        <DD>Two\nlines\r\n"
        "        <DT><A HREF=\"https://bahn.example/2\">Deutsche Bahn</A>\r\n"
        "    </DL><p>\r\n"
        "</DL><p>\r\n"
        "0");
}

TEST(NetscapeWriter, LinksAfterSubFoldersAndInsideANewFolder) {
    BookmarkTree tree;
    BuildExampleTree(tree);
    test::TempDir dir;
    auto options = Options();
    options.newFolder = "From IE";
    auto result = PrintBookmarkFile(tree, dir / "b.html", options, test::NoProgress());
    ASSERT_TRUE(result.ok);
    auto text = test::ReadFile(dir.path() / "b.html");
    EXPECT_EQ(text.substr(text.find("<DL><p>")), "<DL><p>\r\n"
                                                 "<DT><H3 FOLDED ADD_DATE=\"\">From IE</H3>\r\n"
                                                 "<DL><p>\r\n"
                                                 "    <DT><H3 FOLDED ADD_DATE=\"\">News</H3>\r\n"
                                                 "    <DL><p>\r\n"
                                                 "        <DT><A HREF=\"U3\">Daily</A>\r\n"
                                                 "    </DL><p>\r\n"
                                                 "    <DT><A HREF=\"U1\">alpha</A>\r\n"
                                                 "    <DT><A HREF=\"U2\">Beta</A>\r\n"
                                                 "</DL><p>\r\n"
                                                 "</DL><p>\r\n");
    EXPECT_EQ(result.nFoldersWritten, 1); // the new folder is not one of the tree's
}

// root[ r1 A[ a1 B[ b1 b2 ] ] C[ ] ] with only B, its b2 and the empty C
// checked: B is written from column 0, the unchecked root and A leave no
// trace, and the file closes its one list once.
TEST(NetscapeWriter, SelectionWritesCheckedFoldersInTheNearestWrittenAncestor) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.AddLink("r1", "http://r1/");
    builder.BeginFolder("A");
    builder.AddLink("a1", "http://a1/");
    builder.BeginFolder("B");
    builder.AddLink("b1", "http://b1/");
    builder.AddLink("b2", "http://b2/");
    builder.EndFolder();
    builder.EndFolder();
    builder.BeginFolder("C");
    builder.EndFolder();
    builder.Finish();
    for (std::int32_t node = 0; node < tree.NodeCount(); ++node) {
        tree.Node(node).Checked = tree.Node(node).Text == "B" || tree.Node(node).Text == "C";
    }
    for (auto& row : tree.EntryTable) {
        row.bChecked = row.sName == "b2" || row.sName == "r1";
    }
    test::TempDir dir;
    auto options = Options();
    options.exportAll = false;
    auto result = PrintBookmarkFile(tree, dir / "b.html", options, test::NoProgress());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.nFoldersWritten, 2);
    EXPECT_EQ(result.nLinksWritten, 1);
    auto text = test::ReadFile(dir.path() / "b.html");
    EXPECT_EQ(text.substr(text.find("<DL><p>")), "<DL><p>\r\n"
                                                 "<DT><H3 FOLDED ADD_DATE=\"\">B</H3>\r\n"
                                                 "<DL><p>\r\n"
                                                 "    <DT><A HREF=\"http://b2/\">b2</A>\r\n"
                                                 "</DL><p>\r\n"
                                                 "<DT><H3 FOLDED ADD_DATE=\"\">C</H3>\r\n"
                                                 "<DL><p>\r\n"
                                                 "</DL><p>\r\n"
                                                 "</DL><p>\r\n");
}

TEST(NetscapeWriter, WritesUtf8AndEscapesWhatMarkupWouldEat) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Favorites);
    builder.BeginFolder("Caf\xC3\xA9 <&>");
    builder.AddLink("Caf\xC3\xA9 50\xE2\x82\xAC", "http://a/?q=\"x\"&amp;&copy;&lang=en&x");
    builder.AddLink("\"Tom\" & 'Jerry' <b>", "http://b/");
    builder.EndFolder();
    builder.Finish();
    test::TempDir dir;
    auto options = Options();
    options.profileName = "Jos\xC3\xA9 & Co";
    ASSERT_TRUE(PrintBookmarkFile(tree, dir / "b.html", options, test::NoProgress()).ok);
    auto text = test::ReadFile(dir.path() / "b.html");
    EXPECT_NE(text.find("<TITLE>Bookmarks for Jos\xC3\xA9 &amp; Co</TITLE>"), std::string::npos);
    EXPECT_NE(text.find("<DT><H3 FOLDED ADD_DATE=\"\">Caf\xC3\xA9 &lt;&amp;&gt;</H3>"),
              std::string::npos);
    // The 43-character table's bytes: é as C3 A9, € as E2 82 AC.
    EXPECT_NE(text.find(">\x43\x61\x66\xC3\xA9\x20\x35\x30\xE2\x82\xAC</A>"), std::string::npos);
    // A quote in an address is %22; an "&" that would read as a reference
    // is escaped, a plain one ("&lang=", "&x") is not.
    EXPECT_NE(text.find("HREF=\"http://a/?q=%22x%22&amp;amp;&amp;copy;&lang=en&x\""),
              std::string::npos);
    EXPECT_NE(text.find(">&quot;Tom&quot; &amp; 'Jerry' &lt;b&gt;</A>"), std::string::npos);
}

std::string ReadBack(const std::string& path) {
    BookmarkTree tree;
    EXPECT_TRUE(BuildNetscapeTree(tree, path));
    return test::TreeText(tree, true);
}

TEST(NetscapeWriter, MergeKeepingDuplicatesAddsTheExportInsideTheOuterList) {
    BookmarkTree tree;
    BuildExampleTree(tree, "u:");
    test::TempDir dir;
    auto path = dir / "b.html";
    ASSERT_TRUE(PrintBookmarkFile(tree, path, Options(), test::NoProgress()).ok);
    auto first = test::ReadFile(path);
    auto options = Options();
    options.merge = true;
    options.keepDuplicates = true;
    ASSERT_TRUE(PrintBookmarkFile(tree, path, options, test::NoProgress()).ok);
    auto merged = test::ReadFile(path);
    // The export's folders and links go just before the line that closes
    // the root list, as the lines of the list; the rest stays.
    auto itemsStart = first.find("<DL><p>\r\n") + 9;
    auto rootEnd = first.rfind("</DL><p>\r\n");
    EXPECT_EQ(merged, first.substr(0, rootEnd) + first.substr(itemsStart, rootEnd - itemsStart) +
                          first.substr(rootEnd));
    EXPECT_EQ(ReadBack(path), "Bookmarks for Ann[ alpha=u:U1 Beta=u:U2 alpha=u:U1 Beta=u:U2 "
                              "News[ Daily=u:U3 ] News[ Daily=u:U3 ] ]");
}

// Firefox ends its files with "</DL>" and no "<p>"; the export still lands
// at the top, not inside the last folder.
TEST(NetscapeWriter, MergeIntoAFirefoxFileEndingWithoutParagraph) {
    test::TempDir dir;
    auto path = dir / "b.html";
    test::WriteFile(path, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n"
                          "<H1>Bookmarks Menu</H1>\n\n<DL><p>\n    <DT><H3>Other</H3>\n"
                          "    <DL><p>\n        <DT><A HREF=\"http://o/\">o</A>\n    </DL><p>\n"
                          "</DL>\n");
    BookmarkTree tree;
    BuildExampleTree(tree, "u:");
    auto options = Options();
    options.merge = true;
    ASSERT_TRUE(PrintBookmarkFile(tree, path, options, test::NoProgress()).ok);
    EXPECT_EQ(ReadBack(path),
              "Bookmarks Menu[ alpha=u:U1 Beta=u:U2 News[ Daily=u:U3 ] Other[ o=http://o/ ] ]");
}

TEST(NetscapeWriter, MergeConvertsAnOldWindows1252FileToUtf8) {
    test::TempDir dir;
    auto path = dir / "b.html";
    test::WriteFile(path, "<H1>Caf\xE9</H1>\r\n<DL><p>\r\n</DL><p>\r\n");
    BookmarkTree tree;
    BuildExampleTree(tree);
    auto options = Options();
    options.merge = true;
    ASSERT_TRUE(PrintBookmarkFile(tree, path, options, test::NoProgress()).ok);
    auto text = test::ReadFile(path);
    // Without a charset of its own the file gets the META line of a new one.
    EXPECT_EQ(text.substr(0, 94), "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                                  "charset=UTF-8\">\r\n<H1>Caf\xC3\xA9</H1>\r\n<DL><p>\r\n");
    EXPECT_TRUE(IsValidUtf8(text));
}

TEST(NetscapeWriter, RefusesToMergeIntoAFileWithoutAList) {
    test::TempDir dir;
    auto path = dir / "notes.html";
    const std::string old = "<html><body>My notes</body></html>\n";
    test::WriteFile(path, old);
    BookmarkTree tree;
    BuildExampleTree(tree);
    auto options = Options();
    options.merge = true;
    auto result = PrintBookmarkFile(tree, path, options, test::NoProgress());
    EXPECT_FALSE(result.ok);
    EXPECT_NE(test::MessageText(result.message).find(path), std::string::npos);
    EXPECT_NE(test::MessageText(result.message).find("<DL>"), std::string::npos);
    EXPECT_EQ(test::ReadFile(path), old);
    auto missing = PrintBookmarkFile(tree, dir / "missing.html", options, test::NoProgress());
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(fs::exists(dir.path() / "missing.html"));
}

#ifndef _WIN32
// Windows sets no file-size limit on a process, so no write can be cut short this way there.
TEST(NetscapeWriter, FailuresNameThePathAndKeepTheOldFile) {
    BookmarkTree tree;
    BuildExampleTree(tree);
    test::TempDir dir;
    auto inMissingFolder =
        PrintBookmarkFile(tree, dir / "no/such/b.html", Options(), test::NoProgress());
    EXPECT_FALSE(inMissingFolder.ok);
    EXPECT_NE(test::MessageText(inMissingFolder.message).find(dir / "no/such/b.html"),
              std::string::npos);
    EXPECT_NE(test::MessageText(inMissingFolder.message).find("No such file or directory"),
              std::string::npos);

    // A file-size limit makes the write fail midway, even for root.
    auto path = dir / "b.html";
    test::WriteFile(path, "old content");
    BookmarkTree wide;
    FileTreeBuilder builder(wide, StoreKind::Netscape);
    for (int i = 0; i < 200; ++i) {
        builder.AddLink("link " + std::to_string(i), "http://example.com/" + std::to_string(i));
    }
    builder.Finish();
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    auto tooBig = PrintBookmarkFile(wide, path, Options(), test::NoProgress());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(tooBig.ok);
    EXPECT_NE(test::MessageText(tooBig.message).find(path), std::string::npos);
    EXPECT_EQ(test::ReadFile(path), "old content");
}
#endif

TEST(NetscapeWriter, ReportsFavoritesFoldersThatCannotBeRead) {
    test::TempDir dir;
    auto root = dir.path() / "Favorites";
    test::WriteFile(root / "Gone" / "x.url", "[InternetShortcut]\r\nURL=http://x/\r\n");
    test::WriteFile(root / "Here" / "y.url", "[InternetShortcut]\r\nURL=http://y/\r\n");
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, root.string()));
    fs::remove_all(root / "Gone");
    auto result = PrintBookmarkFile(tree, dir / "b.html", Options(), test::NoProgress());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.nUnreadableFolders, 1);
    EXPECT_EQ(result.nLinksWritten, 1);
    EXPECT_NE(result.sFirstFailure.find((root / "Gone").string()), std::string::npos);
}

class StatusRecorder final : public ProgressSink {
public:
    void SetStatusText(const std::string& text) override { texts.push_back(text); }
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetValue(std::int32_t) override {}
    void SetVisible(bool) override {}
    std::vector<std::string> texts;
};

TEST(NetscapeWriter, ReportsEachFolderAsItGoes) {
    BookmarkTree tree;
    BuildExampleTree(tree);
    tree.Node(0).Text = "Root";
    test::TempDir dir;
    StatusRecorder status;
    ASSERT_TRUE(PrintBookmarkFile(tree, dir / "b.html", Options(), status).ok);
    EXPECT_EQ(status.texts, (std::vector<std::string>{"Exporting From Folder: Root",
                                                      "Exporting From Folder: News"}));
}

TEST(NetscapeWriter, HundredThousandLevelsDeepStayLinearAndReadBack) {
    constexpr int kDepth = 100000;
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (int i = 0; i < kDepth; ++i) {
        builder.BeginFolder("d");
    }
    builder.AddLink("bottom", "http://bottom/");
    builder.Finish();
    test::TempDir dir;
    auto result = PrintBookmarkFile(tree, dir / "deep.html", Options(), test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_EQ(result.nFoldersWritten, kDepth);
    // Indentation stops growing, so the file stays proportional to the depth.
    EXPECT_LT(fs::file_size(dir.path() / "deep.html"), 300u * kDepth);
    BookmarkTree back;
    ASSERT_TRUE(BuildNetscapeTree(back, dir / "deep.html"));
    ASSERT_EQ(back.NodeCount(), kDepth + 1);
    const auto& bottom = back.FolderTable[back.NodeCount() - 1];
    ASSERT_EQ(bottom.nFirstEntry, bottom.nLastEntry);
    EXPECT_EQ(back.EntryTable[bottom.nFirstEntry].sName, "bottom");
}

// The lists and folder headings of a file in their order, "DL H3 DL /DL
// /DL" for a root list holding one folder: where each list opens and
// closes, whatever else the file holds.
std::string ListStructure(const std::string& text) {
    std::string structure;
    for (auto at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        auto end = text.find_first_of(" \t\r\n>", at + 1);
        std::string tag = text.substr(at + 1, end - at - 1);
        for (auto& c : tag) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (tag == "DL" || tag == "/DL" || tag == "H3") {
            structure += (structure.empty() ? "" : " ") + tag;
        }
    }
    return structure;
}

constexpr const char* kFirefoxFile =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n"
    "<DL><p>\n    <DT><H3>Other</H3>\n    <DL><p>\n        <DT><A HREF=\"http://o/\">o</A>\n"
    "    </DL><p>\n</DL>\n";

// A written file opens and closes each list once, as Firefox and Chromium
// write theirs, and a merge adds the export's folders and links to the
// root list itself, with no list of its own.
TEST(NetscapeWriter, EveryListIsClosedOnceAndAMergeAddsNoHeadinglessList) {
    struct Case {
        const char* what;
        const char* old; // the file merged into, or nothing for a new file
        std::optional<std::string> newFolder;
        bool onlyNews; // only the folder News checked, so the root is not written
        const char* expected;
    };
    const Case cases[] = {
        {"new file", nullptr, std::nullopt, false, "DL H3 DL /DL /DL"},
        {"new file, new folder", nullptr, "From IE", false, "DL H3 DL H3 DL /DL /DL /DL"},
        {"new file, root not written", nullptr, std::nullopt, true, "DL H3 DL /DL /DL"},
        {"merge", "<DL><p>\n<DT><A HREF=\"http://old/\">old</A>\n</DL><p>\n", std::nullopt, false,
         "DL H3 DL /DL /DL"},
        {"merge into Firefox's file, new folder", kFirefoxFile, "From IE", false,
         "DL H3 DL /DL H3 DL H3 DL /DL /DL /DL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BookmarkTree tree;
        BuildExampleTree(tree);
        for (std::int32_t node = 0; node < tree.NodeCount(); ++node) {
            tree.Node(node).Checked = tree.Node(node).Text == "News";
        }
        test::TempDir dir;
        auto options = Options();
        options.newFolder = c.newFolder;
        options.exportAll = !c.onlyNews;
        options.merge = c.old != nullptr;
        if (c.old != nullptr) {
            test::WriteFile(dir.path() / "b.html", c.old);
        }
        ASSERT_TRUE(PrintBookmarkFile(tree, dir / "b.html", options, test::NoProgress()).ok);
        EXPECT_EQ(ListStructure(test::ReadFile(dir.path() / "b.html")), c.expected);
    }
}

// Firefox takes a folder marked PERSONAL_TOOLBAR_FOLDER for its toolbar
// only at the top level of a file, and one at most: a marked folder inside
// another makes its import store nothing. The tree holds the toolbar Bar
// and a second one, Zed, at the top and Inner in Menu (a hotlist shows
// every folder marked so on its bar).
TEST(NetscapeWriter, ToolbarIsMarkedOnceAndOnlyAtTheTopLevelOfTheFile) {
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.BeginFolder("Bar");
        sink.MarkToolbarFolder();
        sink.AddLink("b", "http://b/");
        sink.EndFolder();
        sink.BeginFolder("Menu");
        sink.BeginFolder("Inner");
        sink.MarkToolbarFolder();
        sink.AddLink("i", "http://i/");
        sink.EndFolder();
        sink.EndFolder();
        sink.BeginFolder("Zed");
        sink.MarkToolbarFolder();
        sink.EndFolder();
    });
    const std::string withToolbar =
        "<H1>Old</H1>\n<DL><p>\n<DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Old bar</H3>\n"
        "<DL><p>\n</DL><p>\n</DL>\n";
    const std::string withoutToolbar = "<H1>Old</H1>\n<DL><p>\n<DT><H3>Old</H3>\n<DL><p>\n"
                                       "</DL><p>\n</DL>\n";
    const std::string dropped = "Toolbar folders written as ordinary folders: ";
    struct Case {
        const char* what;
        std::string old; // the file merged into; empty for a new file
        std::optional<std::string> newFolder;
        bool onlyInner; // only Inner checked
        std::string expected;
    };
    const Case cases[] = {
        {"new file", "", std::nullopt, false,
         "root[ Bar*[ b=http://b/ ] Menu[ Inner[ i=http://i/ ] ] Zed[ ] ]\n" + dropped +
             "2 (Menu\\Inner, Zed)"},
        {"new file, new folder", "", "From IE", false,
         "root[ From IE[ Bar[ b=http://b/ ] Menu[ Inner[ i=http://i/ ] ] Zed[ ] ] ]\n" + dropped +
             "3 (Bar, Menu\\Inner, Zed)"},
        {"only Inner, which lands at the top", "", std::nullopt, true,
         "root[ Inner*[ i=http://i/ ] ]\n"},
        {"merge into a file with a toolbar", withToolbar, std::nullopt, false,
         "root[ Old bar*[ ] Bar[ b=http://b/ ] Menu[ Inner[ i=http://i/ ] ] Zed[ ] ]\n" + dropped +
             "3 (Bar, Menu\\Inner, Zed)"},
        {"merge into a file without one", withoutToolbar, std::nullopt, false,
         "root[ Old[ ] Bar*[ b=http://b/ ] Menu[ Inner[ i=http://i/ ] ] Zed[ ] ]\n" + dropped +
             "2 (Menu\\Inner, Zed)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::int32_t node = 0; node < tree.NodeCount(); ++node) {
            tree.Node(node).Checked = tree.Node(node).Text == "Inner";
        }
        for (auto& row : tree.EntryTable) {
            row.bChecked = true;
        }
        test::TempDir dir;
        auto options = Options();
        options.newFolder = c.newFolder;
        options.exportAll = !c.onlyInner;
        options.merge = !c.old.empty();
        if (options.merge) {
            test::WriteFile(dir.path() / "b.html", c.old);
        }
        auto result = PrintBookmarkFile(tree, dir / "b.html", options, test::NoProgress());
        ASSERT_TRUE(result.ok) << test::MessageText(result.message);
        BookmarkTree back;
        ASSERT_TRUE(BuildNetscapeTree(back, dir / "b.html"));
        std::string losses;
        for (const auto& line : result.losses.Lines()) {
            losses += line;
        }
        EXPECT_EQ(test::OrderedTreeText(back) + "\n" + losses, c.expected);
    }
}

// The check that a merge reads back whole costs time and memory in
// proportion to the file, however deep its folders nest: here a link in
// each of 100,000 nested folders.
TEST(NetscapeWriter, MergeIntoAHundredThousandLevelDeepFileKeepsEveryLink) {
    constexpr int kDepth = 100000;
    BookmarkTree deep;
    FileTreeBuilder builder(deep, StoreKind::Netscape);
    for (int i = 0; i < kDepth; ++i) {
        builder.BeginFolder("d");
        builder.AddLink("l", "http://l/");
    }
    builder.AddLink("bottom", "http://bottom/");
    builder.Finish();
    test::TempDir dir;
    auto path = dir / "deep.html";
    ASSERT_TRUE(PrintBookmarkFile(deep, path, Options(), test::NoProgress()).ok);
    BookmarkTree tree;
    BuildExampleTree(tree, "u:");
    auto options = Options();
    options.merge = true;
    auto result = PrintBookmarkFile(tree, path, options, test::NoProgress());
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    BookmarkTree back;
    ASSERT_TRUE(BuildNetscapeTree(back, path));
    auto names = [&](std::int32_t folder) {
        std::string text;
        for (const auto& row : back.Rows(folder)) {
            text += " " + std::string(row.sName);
        }
        return text;
    };
    // Folders are numbered in file order: the deepest d is the last but News.
    EXPECT_EQ(std::to_string(back.NodeCount()) + " folders, " +
                  std::to_string(back.EntryTable.size()) + " rows; top:" + names(0) +
                  "; deepest:" + names(kDepth),
              std::to_string(kDepth + 2) + " folders, " + std::to_string(2 * kDepth + 5) +
                  " rows; top: d News alpha Beta; deepest: bottom l");
}

// The export goes in just before the root list closes. After a heading
// without a list of its own, its links would land in that folder: such a
// merge is refused and the file stays as it was. Its sub-folders first, the
// heading ends at the first of them and every link keeps its folder.
TEST(NetscapeWriter, MergeThatWouldMoveALinkIntoAnOldFolderIsRefused) {
    const std::string old = "<H1>Bookmarks</H1>\n<DL><p>\n<DT><A HREF=\"http://top/\">top</A>\n"
                            "<DT><H3 FOLDED>Empty</H3>\n</DL><p>\n";
    const std::pair<bool, std::string> cases[] = {
        {true, "refused"},
        {false, "root[ top=http://top/ Empty[ ] News[ Daily=u:U3 ] alpha=u:U1 Beta=u:U2 ]"},
    };
    for (const auto& [linksBefore, expected] : cases) {
        SCOPED_TRACE(linksBefore);
        test::TempDir dir;
        auto path = dir / "b.html";
        test::WriteFile(path, old);
        BookmarkTree tree;
        BuildExampleTree(tree, "u:");
        auto options = Options(linksBefore);
        options.merge = true;
        auto result = PrintBookmarkFile(tree, path, options, test::NoProgress());
        if (!result.ok) {
            EXPECT_EQ(test::ReadFile(path), old);
        }
        BookmarkTree back;
        ASSERT_TRUE(BuildNetscapeTree(back, path));
        EXPECT_EQ(result.ok ? test::OrderedTreeText(back) : "refused", expected);
    }
}

} // namespace
} // namespace tellavin
