#include "model/bookmark_sink.h"
#include "model/file_tree_builder.h"
#include "model/folder_walk.h"
#include "support/ordered_tree.h"
#include "support/tree_text.h"

#include <gtest/gtest.h>

namespace tellavin {
namespace {

// Root "Bookmarks" holding: link Home, folder News (links Daily, Weekly),
// link Beta, folder Work (folder Deep (link X)), link alpha.
void PushSample(BookmarkSink& sink) {
    sink.SetRootText("Bookmarks");
    sink.AddLink("Home", "http://home/");
    sink.BeginFolder("News");
    sink.AddLink("Weekly", "http://w/");
    sink.AddLink("Daily", "http://d/");
    sink.EndFolder();
    sink.AddLink("Beta", "http://b/");
    sink.BeginFolder("Work");
    sink.BeginFolder("Deep");
    sink.AddLink("X", "http://x/");
    sink.EndFolder();
    sink.EndFolder();
    sink.AddLink("alpha", "http://a/");
}

BookmarkTree BuildSample(StoreKind kind = StoreKind::Netscape) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, kind);
    PushSample(builder);
    builder.Finish();
    return tree;
}

TEST(FileTreeBuilder, TablesHoldFoldersInFileOrderAndRowsInFileOrder) {
    auto tree = BuildSample();
    ASSERT_EQ(tree.FolderTable.size(), 4u);
    EXPECT_EQ(tree.FolderTable[0].sName, "Bookmarks");
    EXPECT_EQ(tree.FolderTable[1].sName, "News");
    EXPECT_EQ(tree.FolderTable[2].sName, "Work");
    EXPECT_EQ(tree.FolderTable[3].sName, "Deep");
    std::vector<std::string> rootRows;
    for (const auto& row : tree.Rows(0)) {
        rootRows.emplace_back(row.sName);
    }
    EXPECT_EQ(rootRows, (std::vector<std::string>{"Home", "News", "Beta", "Work", "alpha"}));
    // Folder rows follow the root's rows in record order, each range adjacent.
    EXPECT_EQ(tree.FolderTable[1].nFirstEntry, 5);
    EXPECT_EQ(tree.FolderTable[1].nLastEntry, 6);
    EXPECT_EQ(tree.FolderTable[2].nFirstEntry, 7);
    EXPECT_EQ(tree.FolderTable[3].nFirstEntry, 8);
    EXPECT_EQ(tree.EntryTable.size(), 9u);
    for (const auto& record : tree.FolderTable) {
        EXPECT_TRUE(record.bListed);
    }
    const auto& newsRow = tree.EntryTable[1];
    EXPECT_FALSE(newsRow.IsLink());
    EXPECT_EQ(tree.FolderKeyOf(newsRow), "Bookmarks\\News\\");
    EXPECT_EQ(newsRow.nIcon, image::kNetscapeFolderClosed);
    EXPECT_EQ(tree.EntryTable[0].nIcon, image::kNetscapeBookmark);
    EXPECT_EQ(tree.FolderKeyOf(tree.EntryTable[0]), "");
}

TEST(FileTreeBuilder, NodesKeysAndPathsOfAFileSource) {
    auto tree = BuildSample(StoreKind::Opera);
    EXPECT_EQ(tree.Key(0), "Bookmarks\\");
    EXPECT_EQ(tree.ParentPath(0), "Bookmarks\\");
    EXPECT_EQ(tree.Key(3), "Bookmarks\\Work\\Deep\\");
    EXPECT_EQ(tree.ParentPath(3), "Bookmarks\\Work\\");
    EXPECT_EQ(tree.FullPath(3), "Bookmarks\\Work\\Deep");
    for (std::int32_t i = 0; i < tree.NodeCount(); ++i) {
        EXPECT_EQ(tree.Node(i).Tag, i);
        EXPECT_EQ(tree.Node(i).Image, image::kOperaFolderClosed);
        EXPECT_EQ(tree.Node(i).SelectedImage, image::kOperaFolderOpened);
    }
    EXPECT_TRUE(tree.Node(0).Expanded);
    EXPECT_FALSE(tree.Node(1).Expanded);
    EXPECT_EQ(tree.Children(0), 2);
    EXPECT_EQ(tree.Child(0), 1);
    EXPECT_EQ(tree.Next(1), 2);
    EXPECT_EQ(tree.Next(2), -1);
    EXPECT_EQ(tree.Parent(3), 2);
}

TEST(FileTreeBuilder, EqualSiblingNamesStayAsTheSourceGivesThem) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.SetRootText("r");
    builder.BeginFolder("News");
    builder.EndFolder();
    builder.BeginFolder("News");
    builder.EndFolder();
    builder.AddLink("News", "http://n/");
    builder.AddLink("Home(2)", "http://h2/");
    builder.AddLink("Home", "http://h/");
    builder.AddLink("Home", "http://h/");
    builder.Finish();
    EXPECT_EQ(test::TreeText(tree) + " " + std::to_string(tree.ReadLosses.Lines().size()),
              "r[ News Home(2) Home Home News[ ] News[ ] ] 0");
}

// Each detail goes to the link added or the folder begun last, and only
// while no other event came between; rows keep their details through the
// move into folder order.
TEST(FileTreeBuilder, DetailsGoToTheItemJustBeforeThem) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.BeginFolder("Bar");
    builder.SetFolderDates(100, 200);
    builder.SetFolderDescription("  mine  ");
    builder.AddLink("a", "http://a/");
    builder.SetLinkDescription(" about a ");
    builder.SetLinkKeyword("ka");
    builder.SetLinkTags({"x", " y ", "x,z", ""});
    builder.AddSeparator();
    builder.SetLinkKeyword("lost after a separator");
    builder.EndFolder();
    builder.SetLinkDescription("lost after a folder's end");
    builder.AddLink("Empty", "");
    builder.SetLinkTags({"lost on a link that became a folder"});
    builder.SetFolderDates(std::optional<std::int64_t>(-5), std::optional<std::int64_t>(300));
    builder.AddLink("b", "http://b/");
    builder.SetLinkKeyword("   ");
    builder.Finish();
    EXPECT_EQ(test::OrderedTreeText(tree, true, true),
              "root[ Bar{100/200}<d:mine>[ a=http://a/<d:about a k:ka t:x,y,z> --- ] "
              "Empty{0/300}[ ] b=http://b/ ]");
}

TEST(FileTreeBuilder, LinkWithoutAddressBecomesAnEmptyFolder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    builder.AddLink("Nowhere", "");
    builder.AddLink("Somewhere", "http://s/");
    builder.EndFolder(); // a closing line at the top level is ignored
    builder.Finish();
    EXPECT_EQ(test::TreeText(tree), "[ Somewhere Nowhere[ ] ]");
    EXPECT_FALSE(tree.EntryTable[0].IsLink());

    CountingSink counter;
    counter.AddLink("Nowhere", "");
    counter.AddLink("Somewhere", "http://s/");
    EXPECT_EQ(counter.folders(), 1);
    EXPECT_EQ(counter.links(), 1);
}

TEST(FileTreeBuilder, CountingSinkCountsWhatTheBuilderLoads) {
    CountingSink counter;
    std::vector<std::string> seen;
    counter.onFolder = [&](const std::string& name) { seen.push_back(name); };
    PushSample(counter);
    EXPECT_EQ(counter.folders(), 3);
    EXPECT_EQ(counter.links(), 6);
    EXPECT_EQ(seen, (std::vector<std::string>{"News", "Work", "Deep"}));
}

TEST(FileTreeBuilder, ChildrenAreInDisplayOrder) {
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (const char* name : {"zeta", "Beta", "alpha", "\xC3\x89t\xC3\xA9", "delta"}) {
        builder.BeginFolder(name);
        builder.EndFolder();
    }
    builder.Finish();
    EXPECT_EQ(test::TreeText(tree), "[ alpha[ ] Beta[ ] delta[ ] \xC3\x89t\xC3\xA9[ ] zeta[ ] ]");
}

class Recorder final : public FolderVisitor {
public:
    explicit Recorder(const BookmarkTree& tree) : tree_(tree) {}
    void Enter(std::int32_t folder, bool isStart) override {
        log += (isStart ? "<start " : "<") + tree_.Node(folder).Text + " ";
    }
    void Leave(std::int32_t folder, bool) override { log += tree_.Node(folder).Text + "> "; }
    std::string log;

private:
    const BookmarkTree& tree_;
};

TEST(FolderWalk, CheckedFoldersBelowUncheckedOnesLandInTheNearestWrittenAncestor) {
    auto tree = BuildSample();
    Recorder all(tree);
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, all, unreadable, quiet);
    EXPECT_EQ(all.log, "<start Bookmarks <News News> <Work <Deep Deep> Work> Bookmarks> ");

    tree.Node(3).Checked = true; // Deep, below the unchecked Work
    tree.Node(1).Checked = true; // News
    Recorder selected(tree);
    WalkExportedFolders(tree, false, selected, unreadable, quiet);
    EXPECT_EQ(selected.log, "<News News> <Deep Deep> ");
}

TEST(FolderWalk, VeryDeepNestingNeedsNoRecursion) {
    constexpr int kDepth = 100000;
    BookmarkTree tree;
    FileTreeBuilder builder(tree, StoreKind::Netscape);
    for (int i = 0; i < kDepth; ++i) {
        builder.BeginFolder("d");
    }
    builder.AddLink("leaf", "http://leaf/");
    builder.Finish();
    ASSERT_EQ(tree.NodeCount(), kDepth + 1);
    struct DepthVisitor final : FolderVisitor {
        int depth = 0, deepest = 0;
        void Enter(std::int32_t, bool) override { deepest = std::max(deepest, ++depth); }
        void Leave(std::int32_t, bool) override { --depth; }
    } visitor;
    ExportResult unreadable;
    NullProgress quiet;
    WalkExportedFolders(tree, true, visitor, unreadable, quiet);
    EXPECT_EQ(visitor.deepest, kDepth + 1);
    EXPECT_EQ(visitor.depth, 0);
    const auto& leafFolder = tree.FolderTable[kDepth];
    EXPECT_EQ(tree.EntryTable[leafFolder.nFirstEntry].sURL, "http://leaf/");
}

} // namespace
} // namespace tellavin
