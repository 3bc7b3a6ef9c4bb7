#include "export/bookmark_files_window.h"
#include "selection/selection_window.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/window_driver.h"
#include "support/fake_platform.h"
#include "support/ordered_tree.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "targets/backup_copy.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <filesystem>
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
        {10, Old::MergeIntoNewFolder, true, false,
         "Old[ Old link Imported[ Home News[ Daily ] ] ]",
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
        ASSERT_TRUE(LoadSourceTree({toOpera ? StoreKind::Opera : StoreKind::Netscape, target},
                                   written));
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
                                                  "Descriptions dropped: 1 (Mid)\n"
                                                  "Tags dropped: 1 (Alpha)\n"
                                                  "Keywords dropped: 1 (Alpha)\n"
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
    Find<QComboBox>(*window, "cboFromLoc")->setEditText(QString::fromStdString(dir_ / "source.adr"));
    Find<QComboBox>(*window, "cboNNLoc")->setEditText(QString::fromStdString(dir_ / "out.html"));
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.texts,
              (std::vector<QString>{
                  QStringLiteral("Please, Select a Bookmark File to Export."),
                  QStringLiteral("Please, Select a Bookmark File Where to Export."),
                  QStringLiteral("1 Folders & 2 Links Exported Successfully.")}));
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "out.html"));
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
