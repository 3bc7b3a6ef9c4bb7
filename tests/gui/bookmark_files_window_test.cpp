#include "gui/export/bookmark_files_window.h"
#include "gui/selection/selection_window.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"
#include "targets/backup_copy.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

using test::Click;
using test::Find;
using test::PickFile;
using test::SelectOnly;

constexpr const char* kOldNetscape = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<H1>Old</H1>
<DL><p>
<DT><A HREF="http://old/">Old link</A>
</DL>
)";

constexpr const char* kOldOpera = "Opera Hotlist version 2.0\r\n"
                                  "Options: encoding = utf8, version=3\r\n\r\n"
                                  "#URL\r\n\tID=1\r\n\tNAME=Old link\r\n\tURL=http://old/\r\n\r\n";

enum class Old { None, Overwrite, Merge, MergeIntoNewFolder };

struct ExportCase {
    ConversionPath code;
    Old old;
    bool backup;
    bool selectNews; // only the News folder, through the selection window
    const char* tree;
    const char* message;
};

class BookmarkFilesWindowTest : public ::testing::Test {
protected:
    BookmarkFilesWindowTest() { platform_.executablePath = dir_ / "tellavin"; }

    std::unique_ptr<BookmarkFilesWindow> Open(ConversionPath code) {
        auto window = std::make_unique<BookmarkFilesWindow>(code, session_, platform_,
                                                            dialogs_.service(), owner_);
        window->show();
        return window;
    }

    test::TempDir dir_;
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

TEST_F(BookmarkFilesWindowTest, BothPathsExportWhatWasChosenAsWasChosen) {
    const ExportCase cases[] = {
        {8, Old::None, false, false, "Opera Hotlist[ Home News[ Daily ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {8, Old::Overwrite, true, false, "Opera Hotlist[ Home News[ Daily ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {8, Old::Merge, false, true, "Opera Hotlist[ Old link News[ Daily ] ]",
         "1 Folders & 1 Links Exported Successfully."},
        {10, Old::None, false, false, "Bookmarks for ann[ Home News[ Daily ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {10, Old::MergeIntoNewFolder, true, false, "Old[ Old link Imported[ Home News[ Daily ] ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {10, Old::Overwrite, false, true, "Bookmarks for ann[ News[ Daily ] ]",
         "1 Folders & 1 Links Exported Successfully."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::to_string(row.code) + " case " + row.tree);
        const bool toOpera = row.code == 8;
        const auto source = dir_ / (toOpera ? "source.html" : "source.adr");
        const auto target = dir_ / (toOpera ? "target.adr" : "target.html");
        test::WriteFile(source, toOpera ? test::kNewsAndHomeNetscape : test::kNewsAndHomeOpera);
        std::filesystem::remove(target);
        std::filesystem::remove(BackupPathFor(target));
        if (row.old != Old::None) {
            test::WriteFile(target, toOpera ? kOldOpera : kOldNetscape);
        }
        auto window = Open(row.code);
        PickFile(dialogs_, source);
        Click(*window, "cmdSelectFrom");
        PickFile(dialogs_, target);
        Click(*window, "Command2");
        if (row.selectNews) {
            Click(*window, "Command5");
            SelectOnly(*window, QStringLiteral("News"));
        }
        if (row.old != Old::None) {
            Click(*window, row.old == Old::Overwrite ? "optOldErase" : "optOldMerge");
            Find<QCheckBox>(*window, "chkBackup")->setChecked(row.backup);
            Click(*window, row.old == Old::MergeIntoNewFolder ? "optWhere_1" : "optWhere_0");
            Find<QLineEdit>(*window, "txtWhereNew")->setText(QStringLiteral("Imported"));
        }
        dialogs_.texts.clear();
        Click(*window, "Command10");
        EXPECT_EQ(dialogs_.texts, std::vector<QString>{QString::fromLatin1(row.message)});

        BookmarkTree written;
        ASSERT_TRUE(
            LoadSourceTree({toOpera ? StoreKind::Opera : StoreKind::Netscape, target}, written));
        EXPECT_EQ(test::TreeText(written), row.tree);
        EXPECT_EQ(std::filesystem::exists(BackupPathFor(target)), row.backup);
        window->close();
    }
}

// Unchecked at first; checked, the hotlist holds the Firefox export's order,
// separators, creation dates and toolbar, the message lists what it could
// not hold, and the next window remembers the choice.
TEST_F(BookmarkFilesWindowTest, KeepTheSourceOrderIsAnOptionAndTheMessageListsTheLosses) {
    const auto source =
        std::string(TELLAVIN_TEST_DATA) + "/netscape/toolbar-dates-separators-order-lost.html";
    const auto target = dir_ / "ordered.adr";
    auto window = Open(8);
    auto* keepOrder = Find<QCheckBox>(*window, "chkKeepOrder");
    EXPECT_FALSE(keepOrder->isChecked());
    keepOrder->setChecked(true);
    PickFile(dialogs_, source);
    Click(*window, "cmdSelectFrom");
    PickFile(dialogs_, target);
    Click(*window, "Command2");
    dialogs_.texts.clear();
    dialogs_.details.clear();
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.texts,
              std::vector<QString>{QStringLiteral("2 Folders & 5 Links Exported Successfully.")});
    EXPECT_EQ(dialogs_.details,
              std::vector<QString>{QStringLiteral("Change dates dropped: 2 (Zeta, W)\n"
                                                  "Tags dropped: 1 (Alpha)\n"
                                                  "Icons dropped: 1 (Zeta)\n"
                                                  "Links without a usable address skipped: 1 "
                                                  "(Broken)")});
    BookmarkTree written;
    ASSERT_TRUE(LoadSourceTree({StoreKind::Opera, target}, written));
    EXPECT_EQ(test::OrderedTreeText(written),
              "root[ Bookmarks Toolbar*[ Zeta=https://z.example/{1600000000/0} --- "
              "Alpha=https://a.example/{1600000100/0} ] --- Mid=https://m.example/ Work[ "
              "W=https://w.example/ ] Beta=https://b.example/ ]");
    window->close();
    EXPECT_TRUE(Find<QCheckBox>(*Open(8), "chkKeepOrder")->isChecked());
}

TEST_F(BookmarkFilesWindowTest, RefusalsComeInOrderAndTypedPathsAreTaken) {
    auto window = Open(10);
    Click(*window, "Command10");
    Find<QComboBox>(*window, "cboFromLoc")->setEditText(QString::fromStdString(dir_ / "none.adr"));
    Click(*window, "Command10");
    test::WriteFile(dir_.path() / "source.adr", test::kNewsAndHomeOpera);
    Find<QComboBox>(*window, "cboFromLoc")
        ->setEditText(QString::fromStdString(dir_ / "source.adr"));
    Find<QComboBox>(*window, "cboNNLoc")->setEditText(QString::fromStdString(dir_ / "out.html"));
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.texts, (std::vector<QString>{
                                  QStringLiteral("Please, Select a Bookmark File to Export."),
                                  QStringLiteral("Please, Select a Bookmark File Where to Export."),
                                  QStringLiteral("1 Folders & 2 Links Exported Successfully.")}));
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "out.html"));
}

// A path typed into either list is taken on Enter or when the list is
// left: the source is counted at once and the destination's label says
// whether its file exists, with "~" as the home folder.
TEST_F(BookmarkFilesWindowTest, TypedPathsAreTakenOnEnterOrLeavingTheList) {
    platform_.folders[SpecialFolder::Home] = dir_.path().string();
    test::WriteFile(dir_.path() / "source.adr", test::kNewsAndHomeOpera);
    test::WriteFile(dir_.path() / "old.html", test::kNewsAndHomeNetscape);
    struct Typed {
        const char* list;
        const char* text;
        bool enter; // else the list is left with Tab
        const char* shown;
    };
    const Typed steps[] = {
        {"cboFromLoc", "~/source.adr", true,
         "What to Export: (1 Folders && 2 Links) | Location of Firefox Bookmarks:"},
        {"cboNNLoc", "~/old.html", true,
         "What to Export: (1 Folders && 2 Links) | Location of Firefox Bookmarks: (File Exists)"},
        {"cboNNLoc", "~/new.html", false,
         "What to Export: (1 Folders && 2 Links) | Location of Firefox Bookmarks: (New File)"},
    };
    auto window = Open(10);
    QApplication::setActiveWindow(window.get());
    for (const Typed& step : steps) {
        auto* list = Find<QComboBox>(*window, step.list);
        list->lineEdit()->setFocus();
        list->setEditText(QString::fromUtf8(step.text));
        QTest::keyClick(list->lineEdit(), step.enter ? Qt::Key_Return : Qt::Key_Tab);
        EXPECT_EQ((Find<QGroupBox>(*window, "fraWhat")->title() + " | " +
                   Find<QLabel>(*window, "Label1")->text())
                      .toStdString(),
                  step.shown)
            << step.text;
    }
}

// After a refusal the window puts the focus on the list that names the file
// concerned, and empties a list whose file is gone; refusals that concern
// no list leave the focus where it was.
TEST_F(BookmarkFilesWindowTest, EachRefusalPutsTheFocusOnTheListConcerned) {
    struct Row {
        const char* what;
        std::function<void(BookmarkFilesWindow&)> arrange;
        const char* focus;
        int emptiedList;     // the index of the list's prompt, 0, or -1 when not emptied
        const char* caption; // of What to Export, when it changes
    };
    const auto source = dir_ / "source.adr";
    const auto target = dir_ / "target.html";
    auto type = [](QWidget& window, const char* list, const std::string& path) {
        Find<QComboBox>(window, list)->setEditText(QString::fromStdString(path));
    };
    const Row rows[] = {
        {"a source that is gone",
         [&](BookmarkFilesWindow& w) { type(w, "cboFromLoc", dir_ / "gone.adr"); }, "cboFromLoc", 0,
         "What to Export: (0 Folders && 0 Links)"},
        {"a target that is the source",
         [&](BookmarkFilesWindow& w) { type(w, "cboNNLoc", dir_ / "./source.adr"); }, "cboNNLoc",
         -1, nullptr},
        {"a target in a folder that is gone",
         [&](BookmarkFilesWindow& w) { type(w, "cboNNLoc", dir_ / "no/such/out.html"); },
         "cboNNLoc", -1, nullptr},
        {"a file to merge into that is gone",
         [&](BookmarkFilesWindow& w) {
             Click(w, "optOldMerge");
             std::filesystem::remove(target);
         },
         "cboNNLoc", 0, nullptr},
        {"a read-only target",
         [&](BookmarkFilesWindow&) {
             std::filesystem::permissions(target, std::filesystem::perms::owner_read);
         },
         "Command10", -1, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::WriteFile(source, test::kNewsAndHomeOpera);
        test::WriteFile(target, kOldNetscape);
        std::filesystem::permissions(target, std::filesystem::perms::owner_all);
        auto window = Open(10);
        PickFile(dialogs_, source);
        Click(*window, "cmdSelectFrom");
        PickFile(dialogs_, target);
        Click(*window, "Command2");
        row.arrange(*window);
        Find<QWidget>(*window, "Command10")->setFocus();
        const auto titles = dialogs_.titles.size();
        Click(*window, "Command10");
        EXPECT_EQ(dialogs_.titles.size(), titles + 1);
        ASSERT_NE(window->focusWidget(), nullptr);
        EXPECT_EQ(window->focusWidget()->objectName(), row.focus);
        if (row.emptiedList >= 0) {
            EXPECT_EQ(Find<QComboBox>(*window, row.focus)->currentIndex(), row.emptiedList);
        }
        if (row.caption != nullptr) {
            EXPECT_EQ(Find<QGroupBox>(*window, "fraWhat")->title(), row.caption);
        }
        window->close();
    }
}

TEST_F(BookmarkFilesWindowTest, TheListKeepsFivePickedFilesAndAFileWithoutLinksIsRefused) {
    auto window = Open(8);
    test::WriteFile(dir_.path() / "empty.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL></DL>\n");
    PickFile(dialogs_, dir_ / "empty.html");
    Click(*window, "cmdSelectFrom");
    EXPECT_EQ(dialogs_.texts.back(), "The Selected File Does Not Contain Any Bookmark.");
    for (int i = 1; i <= 6; ++i) {
        PickFile(dialogs_, dir_ / ("out" + std::to_string(i) + ".adr"));
        Click(*window, "Command2");
    }
    auto* list = Find<QComboBox>(*window, "cboNNLoc");
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items.append(QFileInfo(list->itemText(i)).fileName());
    }
    EXPECT_EQ(items.join(' '), "- Please Select an Opera Hotlist File - out6.adr out5.adr "
                               "out4.adr out3.adr out2.adr");
    EXPECT_EQ(list->currentIndex(), 1);
}

} // namespace
} // namespace tellavin
