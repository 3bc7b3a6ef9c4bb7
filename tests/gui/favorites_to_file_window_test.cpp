#include "gui/export/favorites_to_file_window.h"
#include "gui/selection/selection_window.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"
#include "targets/backup_copy.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

using test::Click;
using test::Find;
using test::PickFile;
using test::SelectOnly;

constexpr const char* kShortcut = "[InternetShortcut]\r\nURL=http://x/\r\n";

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

class FavoritesToFileWindowTest : public ::testing::Test {
protected:
    FavoritesToFileWindowTest() {
        platform_.executablePath = dir_ / "tellavin";
        // Home at the root, Daily in News, Edit and Paint in Tools.
        for (const char* file :
             {"Home.url", "News/Daily.url", "Tools/Edit.url", "Tools/Paint.url"}) {
            test::WriteFile(favorites_ / file, kShortcut);
        }
    }

    std::unique_ptr<FavoritesToFileWindow> Open(ConversionPath code) {
        auto window = std::make_unique<FavoritesToFileWindow>(code, session_, platform_,
                                                              dialogs_.service(), owner_);
        window->show();
        return window;
    }

    // The next file or folder dialog picks path.
    void Pick(const std::string& path) {
        dialogs_.Then([path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path));
            return static_cast<int>(QDialog::Accepted);
        });
    }

    std::string WhatCaption(QWidget& window) {
        return Find<QGroupBox>(window, "fraWhat")->title().toStdString();
    }

    test::TempDir dir_;
    std::filesystem::path favorites_ = dir_.path() / "Favorites";
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

TEST_F(FavoritesToFileWindowTest, BothPathsExportWhatWasChosenAsWasChosen) {
    platform_.folders[SpecialFolder::Favorites] = favorites_.string();
    const ExportCase cases[] = {
        {2, Old::None, false, false, "Bookmarks for ann[ Home News[ Daily ] Tools[ Edit Paint ] ]",
         "2 Folders & 4 Links Exported Successfully."},
        {2, Old::Overwrite, true, true, "Bookmarks for ann[ News[ Daily ] ]",
         "1 Folders & 1 Links Exported Successfully."},
        {2, Old::MergeIntoNewFolder, true, false,
         "Old[ Old link Imported[ Home News[ Daily ] Tools[ Edit Paint ] ] ]",
         "2 Folders & 4 Links Exported Successfully."},
        {7, Old::None, false, false, "Opera Hotlist[ Home News[ Daily ] Tools[ Edit Paint ] ]",
         "2 Folders & 4 Links Exported Successfully."},
        {7, Old::Merge, false, true, "Opera Hotlist[ Old link News[ Daily ] ]",
         "1 Folders & 1 Links Exported Successfully."},
        {7, Old::Overwrite, true, false, "Opera Hotlist[ Home News[ Daily ] Tools[ Edit Paint ] ]",
         "2 Folders & 4 Links Exported Successfully."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::to_string(row.code) + " case " + row.tree);
        const bool toOpera = row.code == 7;
        const auto target = dir_ / (toOpera ? "target.adr" : "target.html");
        std::filesystem::remove(target);
        std::filesystem::remove(BackupPathFor(target));
        if (row.old != Old::None) {
            test::WriteFile(target, toOpera ? kOldOpera : kOldNetscape);
        }
        auto window = Open(row.code);
        Pick(target);
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

// Without a Favorites folder the window says so and counts nothing; the
// export refuses a destination not chosen; each way of setting the folder
// counts it.
TEST_F(FavoritesToFileWindowTest, RefusesWithoutDestinationAndCountsEachFolderSet) {
    const auto other = dir_.path() / "Other";
    test::WriteFile(other / "Solo.url", kShortcut);
    auto window = Open(2);
    EXPECT_EQ(WhatCaption(*window), "What to Export: (0 Folders && 0 Links)");
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.titles,
              (std::vector<QString>{QStringLiteral("Unable to Autolocate IE Folder"),
                                    QStringLiteral("Bookmark File Not Selected")}));
    EXPECT_EQ(dialogs_.texts.back(),
              "Please, Select a Bookmark File Where to Export IE Favorites.");

    struct FolderCase {
        const char* how;
        std::filesystem::path folder;
        const char* caption;
    };
    const FolderCase cases[] = {
        {"chooser", favorites_, "What to Export: (2 Folders && 4 Links)"},
        {"auto", other, "What to Export: (0 Folders && 1 Links)"},
        {"typed", favorites_ / "Tools", "What to Export: (0 Folders && 2 Links)"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.how);
        const std::string how = row.how;
        if (how == "chooser") {
            Pick(row.folder.string());
            Click(*window, "Command1");
        } else if (how == "auto") {
            platform_.folders[SpecialFolder::Favorites] = row.folder.string();
            Click(*window, "Command3");
        } else {
            // A typed folder is taken by "Select Links..." without leaving the box.
            auto* text = Find<QLineEdit>(*window, "txtIELoc");
            text->clear();
            QTest::keyClicks(text, QString::fromStdString(row.folder.string()));
            Click(*window, "Command5");
        }
        EXPECT_EQ(WhatCaption(*window), row.caption);
        EXPECT_EQ(session_.favoritesFolder, row.folder.string());
    }
}

} // namespace
} // namespace tellavin
