#include "conversion/conversion.h"
#include "gui/selection/folder_rows_model.h"
#include "gui/selection/folder_tree_model.h"
#include "gui/selection/selection_window.h"
#include "gui/windows/tree_images.h"
#include "model/session_state.h"
#include "sources/source_loader.h"
#include "support/fake_platform.h"
#include "support/progress_recorder.h"
#include "support/temp_dir.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

constexpr const char* kBookmarks = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<H1>Bookmarks</H1>
<DL><p>
    <DT><H3>News</H3>
    <DL><p>
        <DT><A HREF="http://weekly/">Weekly</A>
        <DT><A HREF="http://daily/">daily</A>
        <DT><H3>Old</H3>
        <DL><p>
            <DT><A HREF="http://archive/">Archive</A>
        </DL><p>
    </DL><p>
    <DT><A HREF="http://home/">Home</A>
</DL>
)";

class SelectionWindowTest : public ::testing::Test {
protected:
    SelectionWindowTest() {
        test::WriteFile(dir_.path() / "bookmarks.html", kBookmarks);
        platform_.executablePath = dir_ / "tellavin";
        window_ = std::make_unique<SelectionWindow>(source_, BookmarkCounts{2, 4}, progress_,
                                                    platform_, session_);
        EXPECT_TRUE(window_->LoadTree());
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    QTreeView* Tree() { return window_->findChild<QTreeView*>(QStringLiteral("TreeView1")); }
    QTreeView* List() { return window_->findChild<QTreeView*>(QStringLiteral("ListView1")); }

    // The list as the user sees it: each row's name, "+" when checked, "*"
    // when Bold.
    std::string ListText() {
        std::string text;
        auto* model = List()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            auto index = model->index(row, 0);
            text += (text.empty() ? "" : " ") + index.data().toString().toStdString() +
                    (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "+" : "") +
                    (index.data(Qt::FontRole).value<QFont>().bold() ? "*" : "");
        }
        return text;
    }

    std::string StatusText() {
        std::string text;
        for (auto* panel : window_->findChild<QStatusBar*>(QStringLiteral("StatusBar1"))
                               ->findChildren<QLabel*>()) {
            text += (text.empty() ? "" : " | ") + panel->text().toStdString();
        }
        return text;
    }

    QModelIndex TreeItem(const QString& name) {
        auto found = Tree()->model()->match(Tree()->model()->index(0, 0), Qt::DisplayRole, name, 1,
                                            Qt::MatchExactly | Qt::MatchRecursive);
        return found.value(0);
    }

    // The folder tree as the view holds it: "Bookmarks[ News[ Old ] ]".
    std::string TreeText(const QModelIndex& parent = {}) {
        std::string text;
        auto* model = Tree()->model();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            auto index = model->index(row, 0, parent);
            text += " " + index.data().toString().toStdString();
            if (model->rowCount(index) > 0) {
                text += "[" + TreeText(index) + " ]";
            }
        }
        return parent.isValid() || text.empty() ? text : text.substr(1);
    }

    // Selects an item and presses Space on it, as a keyboard user does.
    void ToggleWithSpace(QTreeView* view, const QModelIndex& index) {
        view->setFocus();
        view->setCurrentIndex(index);
        QTest::keyClick(view, Qt::Key_Space);
    }

    test::TempDir dir_;
    StoreLocation source_{StoreKind::Netscape, dir_ / "bookmarks.html"};
    test::FakePlatform platform_;
    test::ProgressRecorder progress_;
    SessionState session_;
    std::unique_ptr<SelectionWindow> window_;
};

TEST_F(SelectionWindowTest, TheModelsPassTheItemModelChecks) {
    QAbstractItemModelTester treeCheck(Tree()->model(),
                                       QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester listCheck(List()->model(),
                                       QAbstractItemModelTester::FailureReportingMode::Fatal);
    ToggleWithSpace(Tree(), TreeItem(QStringLiteral("Old")));
    List()->header()->sectionClicked(1);
    EXPECT_EQ(window_->Tree().nSelectedLinks, 1);
}

TEST_F(SelectionWindowTest, ChecksInTheTreeAndTheListReachEachOtherAndTheStatusBar) {
    EXPECT_EQ(Tree()->currentIndex(), TreeItem(QStringLiteral("Bookmarks")));
    EXPECT_EQ(ListText(), "News Home");
    EXPECT_EQ(StatusText(), "Selected Folders: 0 of 2 | Selected Links: 0 of 4");

    ToggleWithSpace(Tree(), TreeItem(QStringLiteral("News")));
    EXPECT_EQ(ListText(), "Old daily+ Weekly+");
    EXPECT_EQ(StatusText(), "Selected Folders: 1 of 2 | Selected Links: 2 of 4");
    EXPECT_TRUE(TreeItem(QStringLiteral("Bookmarks")).data(Qt::FontRole).value<QFont>().bold());

    // Unchecking both links in the list unchecks the folder and its Bold.
    ToggleWithSpace(List(), List()->model()->index(1, 0));
    ToggleWithSpace(List(), List()->model()->index(2, 0));
    EXPECT_EQ(ListText(), "Old daily Weekly");
    EXPECT_EQ(TreeItem(QStringLiteral("News")).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(TreeItem(QStringLiteral("Bookmarks")).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(StatusText(), "Selected Folders: 0 of 2 | Selected Links: 0 of 4");

    // A sub-folder row's check box checks that folder, shown Bold in the list.
    ToggleWithSpace(List(), List()->model()->index(0, 0));
    EXPECT_EQ(ListText(), "Old+* daily Weekly");
    EXPECT_EQ(StatusText(), "Selected Folders: 1 of 2 | Selected Links: 1 of 4");
}

// A checked folder some of whose links are unchecked shows a partly
// checked box, which a click turns into the whole folder checked.
TEST_F(SelectionWindowTest, AFolderWithSomeLinksCheckedIsPartlyChecked) {
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* shown; // the tree's boxes: "+" checked, "~" partly
    };
    const auto boxes = [this] {
        std::string text;
        for (const char* folder : {"Bookmarks", "News", "Old"}) {
            const auto item = TreeItem(QString::fromLatin1(folder));
            const int state = item.data(Qt::CheckStateRole).toInt();
            text += std::string(folder) + (state == Qt::Checked            ? "+ "
                                           : state == Qt::PartiallyChecked ? "~ "
                                                                           : " ");
        }
        return text;
    };
    const Step steps[] = {
        {"News checked", [this] { ToggleWithSpace(Tree(), TreeItem(QStringLiteral("News"))); },
         "Bookmarks News+ Old "},
        {"Weekly unchecked", [this] { ToggleWithSpace(List(), List()->model()->index(2, 0)); },
         "Bookmarks News~ Old "},
        {"Old checked", [this] { ToggleWithSpace(Tree(), TreeItem(QStringLiteral("Old"))); },
         "Bookmarks News~ Old+ "},
        {"News clicked again",
         [this] { ToggleWithSpace(Tree(), TreeItem(QStringLiteral("News"))); },
         "Bookmarks News+ Old+ "},
        {"daily unchecked", [this] { ToggleWithSpace(List(), List()->model()->index(1, 0)); },
         "Bookmarks News~ Old+ "},
        {"Weekly unchecked", [this] { ToggleWithSpace(List(), List()->model()->index(2, 0)); },
         "Bookmarks News Old+ "},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(boxes(), step.shown) << step.what;
    }
}

// The list's columns fit the window as it is shown and as it is resized:
// name and address share the room and fill it with the date, which keeps
// the width of its text.
TEST_F(SelectionWindowTest, ColumnsFitTheShownAndResizedWindow) {
    const int dateText = std::max({List()->header()->sectionSizeHint(2),
                                   static_cast<QAbstractItemView*>(List())->sizeHintForColumn(2),
                                   List()->header()->minimumSectionSize()});
    for (int width : {0, 1000, 500}) {
        SCOPED_TRACE(width);
        if (width > 0) {
            window_->resize(width, window_->height());
            QApplication::processEvents();
        }
        auto* header = List()->header();
        const int room = List()->viewport()->width();
        const int share = (room - dateText) / 2;
        EXPECT_EQ(
            std::vector({header->sectionSize(0), header->sectionSize(1), header->sectionSize(2)}),
            std::vector({share, share, room - 2 * share}));
    }
}

TEST_F(SelectionWindowTest, HeaderClicksFlipTheOrderOnEveryColumn) {
    Tree()->setCurrentIndex(TreeItem(QStringLiteral("News")));
    const std::pair<int, const char*> clicks[] = {
        {0, "Weekly daily Old"}, // the first click sorts descending
        {1, "Old daily Weekly"},
        {2, "Old Weekly daily"}, // by date, descending: the folder, then the links
        {2, "Weekly daily Old"},
    };
    for (auto [section, expected] : clicks) {
        SCOPED_TRACE(section);
        List()->header()->sectionClicked(section);
        EXPECT_EQ(ListText(), expected);
        EXPECT_FALSE(List()
                         ->model()
                         ->headerData(section, Qt::Horizontal, Qt::DecorationRole)
                         .value<QIcon>()
                         .isNull());
    }
}

TEST_F(SelectionWindowTest, FindNarrowsTheTreeAndTheListToWhatItFinds) {
    QAbstractItemModelTester treeCheck(Tree()->model(),
                                       QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto* find = window_->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* found = window_->findChild<QLabel*>(QStringLiteral("lblFound"));
    auto* checkFound = window_->findChild<QPushButton*>(QStringLiteral("cmdCheckFound"));
    // What the window shows: the tree, the list, what was found and
    // whether Check All Found can be pressed.
    const auto shown = [&] {
        return TreeText() + " | " + ListText() + " | " + found->text().toStdString() +
               (checkFound->isEnabled() ? " | enabled" : "");
    };
    const std::pair<const char*, const char*> cases[] = {
        {"ARCH", "Bookmarks[ News[ Old ] ] | Archive | Found 1 folder, 1 link | enabled"},
        {"Dàily", "Bookmarks[ News ] | daily | Found 1 folder, 1 link | enabled"},
        {"news", "Bookmarks[ News ] | daily Weekly | Found 1 folder, 2 links | enabled"},
        {"http",
         "Bookmarks[ News[ Old ] ] | Old daily Weekly | Found 3 folders, 4 links | enabled"},
        {"gopher", " |  | Nothing found"},
        {"", "Bookmarks[ News[ Old ] ] | News Home | "},
    };
    for (auto [text, expected] : cases) {
        SCOPED_TRACE(text);
        find->setText(QString::fromUtf8(text));
        QTest::keyClick(find, Qt::Key_Return);
        EXPECT_EQ(shown(), expected);
    }
    // Typing searches once the keys stop.
    QTest::keyClicks(find, "week");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !found->text().isEmpty(); }));
    EXPECT_EQ(shown(), "Bookmarks[ News ] | Weekly | Found 1 folder, 1 link | enabled");
}

TEST_F(SelectionWindowTest, CheckAllFoundChecksTheFoundLinksAndTheirFolders) {
    auto* find = window_->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    find->setText(QStringLiteral("a"));
    QTest::keyClick(find, Qt::Key_Return);
    window_->findChild<QPushButton*>(QStringLiteral("cmdCheckFound"))->click();
    find->clear();
    QTest::keyClick(find, Qt::Key_Return);
    Tree()->setCurrentIndex(TreeItem(QStringLiteral("News")));
    EXPECT_EQ(ListText() + " | " + StatusText(),
              "Old+* daily+ Weekly | Selected Folders: 2 of 2 | Selected Links: 3 of 4");
}

TEST_F(SelectionWindowTest, DoubleClicksOpenASubFolderOrTheLinkMaximised) {
    Tree()->setCurrentIndex(TreeItem(QStringLiteral("News")));
    List()->doubleClicked(List()->model()->index(2, 0));
    EXPECT_EQ(platform_.opened, std::vector<std::string>{"http://weekly/"});
    EXPECT_EQ(platform_.openedShowCommands, std::vector<std::int32_t>{3});
    List()->doubleClicked(List()->model()->index(0, 0));
    EXPECT_EQ(Tree()->currentIndex(), TreeItem(QStringLiteral("Old")));
    EXPECT_EQ(ListText(), "Archive");
}

TEST_F(SelectionWindowTest, ConfirmKeepsTheSelectionForTheExportAndCancelEmptiesIt) {
    ToggleWithSpace(Tree(), TreeItem(QStringLiteral("Old")));
    QSignalSpy confirmed(window_.get(), &SelectionWindow::Confirmed);
    window_->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(confirmed.count(), 1);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(progress_.statusTexts.back(), "Ready");

    ConversionRequest request;
    request.source = source_;
    request.target = {StoreKind::Opera, dir_ / "out.adr"};
    request.tree = &window_->Tree();
    request.options.exportAll = false;
    NullProgress quiet;
    ASSERT_TRUE(RunConversion(request, platform_, quiet).Complete());
    BookmarkTree written;
    ASSERT_TRUE(LoadSourceTree(request.target, written));
    ASSERT_EQ(written.NodeCount(), 2);
    EXPECT_EQ(written.Node(1).Text + "[" + std::string(written.Rows(1)[0].sName) + "]",
              "Old[Archive]");
    EXPECT_EQ(written.Rows(0).size() + written.Rows(1).size(), 2u);

    window_->show();
    QSignalSpy unloaded(window_.get(), &SelectionWindow::Unloaded);
    window_->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(window_->Tree().HasRoot());
    EXPECT_EQ(window_->Tree().nSelectedLinks, 0);
}

// The root's rows as listed: each link's name, "@" when it shows an icon of
// its own rather than its source's link picture.
std::string RootLinksWithIcons(SelectionWindow& window) {
    const auto plain = TreeImage(LinkRowIcon(window.Tree().Source())).pixmap(16).toImage();
    auto* list = window.findChild<QTreeView*>(QStringLiteral("ListView1"))->model();
    std::string text;
    for (int row = 0; row < list->rowCount(); ++row) {
        auto index = list->index(row, 0);
        if (list->index(row, 1).data().toString().isEmpty()) {
            continue; // a sub-folder row
        }
        const bool own =
            index.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage() != plain;
        text += " " + index.data().toString().toStdString() + (own ? "@" : "");
    }
    return text;
}

TEST(SelectionWindowSources, EachStoreShowsItsFoldersLinksAndPictures) {
    struct Source {
        StoreKind kind;
        std::filesystem::path path;
        const char* expected;
    };
    const auto corpus = test::CorpusDir() / "netscape" / "firefox-2023-exported-csp.html";
    const Source sources[] = {
        {StoreKind::Favorites, std::filesystem::path(TELLAVIN_SAMPLES) / "Favorites",
         "My Favorites: Search Tellavin project"},
        {StoreKind::Opera, std::filesystem::path(TELLAVIN_SAMPLES) / "hotlist.adr",
         "Opera Hotlist: Tellavin project"},
        {StoreKind::Netscape,
         std::filesystem::path(TELLAVIN_TEST_DATA) / "netscape" / "favicons-shared-and-broken.html",
         "Favicons: A@ C@ D E F G H I@"},
    };
    test::TempDir settings; // the window saves its place there
    test::FakePlatform platform;
    platform.executablePath = settings / "tellavin";
    SessionState session;
    NullProgress progress;
    for (const auto& source : sources) {
        SCOPED_TRACE(source.path.string());
        SelectionWindow window({source.kind, source.path.string()}, {}, progress, platform,
                               session);
        ASSERT_TRUE(window.LoadTree());
        auto* tree = window.findChild<QTreeView*>(QStringLiteral("TreeView1"))->model();
        auto root = tree->index(0, 0);
        EXPECT_EQ(root.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage(),
                  TreeImage(FolderImage(source.kind)).pixmap(16).toImage());
        EXPECT_EQ(root.data().toString().toStdString() + ":" + RootLinksWithIcons(window),
                  source.expected);
    }
    if (std::filesystem::exists(corpus)) {
        SelectionWindow window({StoreKind::Netscape, corpus.string()}, {}, progress, platform,
                               session);
        ASSERT_TRUE(window.LoadTree());
        EXPECT_GT(window.Tree().NodeCount(), 1);
    }
}

} // namespace
} // namespace tellavin
