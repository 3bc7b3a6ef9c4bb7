#include "sources/favorites_reader.h"
#include "sources/opera_reader.h"
#include "support/event_tree.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif
#include "support/message_text.h"
#include "support/progress_recorder.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/opera_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kHeader = "Opera Hotlist version 2.0\r\nOptions:encoding=utf8,version=3\r\n\r\n";

std::string FolderBlock(const std::string& name) {
    return "#FOLDER\r\n    NAME=" + name + "\r\n    ORDER = -1 \r\n\r\n";
}
std::string LinkBlock(const std::string& name, const std::string& url, const std::string& order) {
    return "#URL\r\n    NAME=" + name + "\r\n    URL=" + url + "\r\n    ORDER = " + order +
           "\r\n\r\n";
}

// root[ alpha Beta News[ Daily ] ]
BookmarkTree NewsTree() {
    return test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Beta", "U2");
        sink.BeginFolder("News");
        sink.AddLink("Daily", "U3");
        sink.EndFolder();
        sink.AddLink("alpha", "U1");
    });
}

ExportResult Write(BookmarkTree& tree, const std::string& path, const WriteOptions& options) {
    NullProgress progress;
    return PrintHotlistFile(tree, path, options, progress);
}

TEST(OperaWriter, NewFileWithLinksBeforeFolders) {
    TempDir dir;
    auto tree = NewsTree();
    WriteOptions options;
    options.links = LinksPlacement::BeforeFolders;
    test::ProgressRecorder progress;
    auto result = PrintHotlistFile(tree, dir / "h.adr", options, progress);
    ASSERT_TRUE(result.ok) << test::MessageText(result.message);
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.nFoldersWritten, 1);
    EXPECT_EQ(result.nLinksWritten, 3);
    EXPECT_EQ(ReadFile(dir.path() / "h.adr"),
              kHeader + LinkBlock("alpha", "U1", "-2 ") + LinkBlock("Beta", "U2", "-2 ") +
                  FolderBlock("News") + LinkBlock("Daily", "U3", "-2 ") + "-\r\n");
    EXPECT_EQ(progress.statusTexts, (std::vector<std::string>{"Exporting From Folder: root",
                                                              "Exporting From Folder: News"}));
}

TEST(OperaWriter, LinksAfterFoldersOrNotAtAll) {
    TempDir dir;
    auto tree = NewsTree();
    WriteOptions options;
    options.links = LinksPlacement::AfterFolders;
    ASSERT_TRUE(Write(tree, dir / "after.adr", options).ok);
    EXPECT_EQ(ReadFile(dir.path() / "after.adr"),
              kHeader + FolderBlock("News") + LinkBlock("Daily", "U3", " 0 ") + "-\r\n" +
                  LinkBlock("alpha", "U1", " 0 ") + LinkBlock("Beta", "U2", " 0 "));

    options.links = LinksPlacement::None;
    auto result = Write(tree, dir / "none.adr", options);
    EXPECT_EQ(result.nLinksWritten, 0);
    EXPECT_EQ(ReadFile(dir.path() / "none.adr"), kHeader + FolderBlock("News") + "-\r\n");
}

TEST(OperaWriter, OrderTextCarriesSignDigitsAndASpace) {
    EXPECT_EQ(detail::OrderText(-1), "-1 ");
    EXPECT_EQ(detail::OrderText(-2), "-2 ");
    EXPECT_EQ(detail::OrderText(0), " 0 ");
    EXPECT_EQ(detail::OrderText(12), " 12 ");
}

TEST(OperaWriter, NewFolderAroundARootWithoutSubFolders) {
    TempDir dir;
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) { sink.AddLink("alpha", "U1"); });
    WriteOptions options;
    options.newFolder = "Imported from FF (1/2/2024)";
    auto result = Write(tree, dir / "h.adr", options);
    EXPECT_EQ(result.nFoldersWritten, 0);
    EXPECT_EQ(ReadFile(dir.path() / "h.adr"), kHeader + FolderBlock("Imported from FF (1/2/2024)") +
                                                  LinkBlock("alpha", "U1", " 0 ") + "-\r\n");
}

TEST(OperaWriter, SelectionWritesCheckedFoldersAtTheNearestWrittenLevel) {
    TempDir dir;
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("a", "Ua");
        sink.BeginFolder("f1");
        sink.AddLink("b", "Ub");
        sink.BeginFolder("f2");
        sink.AddLink("c", "Uc");
        sink.AddLink("d", "Ud");
    });
    auto f2 = tree.Node(tree.Child(0)).children.front();
    tree.Node(f2).Checked = true;
    for (auto& row : tree.Rows(f2)) {
        row.bChecked = row.sName == "c";
    }
    WriteOptions options;
    options.exportAll = false;
    auto result = Write(tree, dir / "h.adr", options);
    EXPECT_EQ(result.nFoldersWritten, 1);
    EXPECT_EQ(result.nLinksWritten, 1);
    EXPECT_EQ(ReadFile(dir.path() / "h.adr"),
              kHeader + FolderBlock("f2") + LinkBlock("c", "Uc", " 0 ") + "-\r\n");
}

TEST(OperaWriter, NamesAreUtf8AndLineBreaksBecomeOperasBytes) {
    TempDir dir;
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        sink.AddLink("Café 50€", "http://cafe.example/");
        sink.AddLink("a=b\r\nc\nd", "http://x.example/?q=1");
    });
    ASSERT_TRUE(Write(tree, dir / "h.adr", {}).ok);
    auto bytes = ReadFile(dir.path() / "h.adr");
    EXPECT_NE(bytes.find("NAME=\x43\x61\x66\xC3\xA9\x20\x35\x30\xE2\x82\xAC\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("NAME=a=b\x02\x02"
                         "c\x02\x02"
                         "d\r\n"),
              std::string::npos);
    BookmarkTree back;
    ASSERT_TRUE(LoadOperaTree(back, dir / "h.adr"));
    EXPECT_EQ(test::TreeText(back, true),
              "Opera Hotlist[ a=b\nc\nd=http://x.example/?q=1 Café 50€=http://cafe.example/ ]");
}

TEST(OperaWriter, MergeKeepsTheOldFileByteForByteAndAddsNoHeader) {
    TempDir dir;
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) { sink.AddLink("alpha", "U1"); });
    WriteOptions options;
    options.merge = true;
    const std::string old = "\xEF\xBB\xBFOpera Hotlist version 2.0\nOptions: encoding = utf8\n\n"
                            "#URL\n\tNAME=Old\n\tURL=http://old/\n\n";
    WriteFile(dir.path() / "h.adr", old);
    ASSERT_TRUE(Write(tree, dir / "h.adr", options).ok);
    EXPECT_EQ(ReadFile(dir.path() / "h.adr"), old + LinkBlock("alpha", "U1", " 0 "));

    // An old file whose last line has no line end gets one first, so the
    // new tag line does not run into it.
    const std::string open = "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Old\n\tURL=http://old/";
    WriteFile(dir.path() / "open.adr", open);
    ASSERT_TRUE(Write(tree, dir / "open.adr", options).ok);
    EXPECT_EQ(ReadFile(dir.path() / "open.adr"), open + "\r\n" + LinkBlock("alpha", "U1", " 0 "));
    BookmarkTree back;
    ASSERT_TRUE(LoadOperaTree(back, dir / "open.adr"));
    EXPECT_EQ(test::TreeText(back, true), "Opera Hotlist[ Old=http://old/ alpha=U1 ]");
}

TEST(OperaWriter, FailuresNameTheFileAndTheReasonAndWriteNothing) {
    TempDir dir;
    auto tree = NewsTree();
    WriteFile(dir.path() / "plain-file", "x");
    auto below = dir / "plain-file/h.adr";
    auto result = Write(tree, below, {});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.title, "Error");
    EXPECT_EQ(test::MessageText(result.message).rfind("Error Opening the Bookmark File.\n", 0), 0u);
    EXPECT_NE(test::MessageText(result.message).find(below), std::string::npos);
    EXPECT_NE(test::MessageText(result.message).find("Not a directory"), std::string::npos);
    EXPECT_EQ(result.nLinksWritten, 0);

    WriteOptions merge;
    merge.merge = true;
    auto missing = Write(tree, dir / "missing.adr", merge);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(test::MessageText(missing.message).find(dir / "missing.adr"), std::string::npos);
    EXPECT_NE(test::MessageText(missing.message).find("No such file or directory"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "missing.adr"));
}

TEST(OperaWriter, AFavoritesFolderThatCannotBeListedMakesTheExportIncomplete) {
    TempDir dir;
    WriteFile(dir.path() / "Fav" / "News" / "Daily.url", "[InternetShortcut]\r\nURL=http://d/\r\n");
    WriteFile(dir.path() / "Fav" / "Home.url", "[InternetShortcut]\r\nURL=http://h/\r\n");
    BookmarkTree tree;
    ASSERT_TRUE(BuildFavoritesTree(tree, dir / "Fav"));
    fs::remove_all(dir.path() / "Fav" / "News"); // gone between selection and export
    auto result = Write(tree, dir / "h.adr", {});
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.nLinksWritten, 1);
    EXPECT_NE(result.sFirstFailure.find("News"), std::string::npos) << result.sFirstFailure;
    EXPECT_EQ(ReadFile(dir.path() / "h.adr"),
              kHeader + FolderBlock("News") + "-\r\n" + LinkBlock("Home", "http://h/", " 0 "));
}

#ifndef _WIN32
// Windows sets no file-size limit on a process, so no write can be cut short this way there.
TEST(OperaWriter, AWriteCutShortByAFullDiskLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = kHeader + LinkBlock("Old", "http://old/", " 0 ");
    WriteFile(dir.path() / "h.adr", old);
    auto tree = test::TreeFromEvents([](BookmarkSink& sink) {
        for (int i = 0; i < 50; ++i) {
            sink.AddLink("link " + std::to_string(i), "http://example.com/" + std::to_string(i));
        }
    });
    for (bool merge : {false, true}) {
        WriteOptions options;
        options.merge = merge;
        ExportResult result;
        {
            test::FileSizeLimit limit(old.size() + 100);
            result = Write(tree, dir / "h.adr", options);
        }
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(test::MessageText(result.message).rfind("Error Opening the Bookmark File.\n", 0),
                  0u)
            << test::MessageText(result.message);
        EXPECT_NE(test::MessageText(result.message).find("File too large"), std::string::npos)
            << test::MessageText(result.message);
        EXPECT_EQ(ReadFile(dir.path() / "h.adr"), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}
#endif

} // namespace
} // namespace tellavin
