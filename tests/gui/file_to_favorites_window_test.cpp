#include "gui/export/file_to_favorites_window.h"
#include "gui/selection/selection_window.h"
#include "sources/source_loader.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/tree_text.h"
#include "support/window_driver.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <filesystem>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

using test::Click;
using test::Find;
using test::PickFile;
using test::SelectOnly;

class FileToFavoritesWindowTest : public ::testing::Test {
protected:
    FileToFavoritesWindowTest() {
        platform_.executablePath = dir_.path() / "tellavin";
        platform_.folders[SpecialFolder::Favorites] = (dir_.path() / "Favorites").string();
        std::filesystem::create_directories(dir_.path() / "Favorites" / "Old" / "Deep");
    }

    std::unique_ptr<FileToFavoritesWindow> Open(ConversionPath code) {
        auto window = std::make_unique<FileToFavoritesWindow>(code, session_, platform_,
                                                              dialogs_.service(), owner_);
        window->show();
        return window;
    }

    // Which "Where to Export" choice is set, and the existing folder's text.
    QString WhereChoice(QWidget& window) {
        for (const char* name : {"NNoptWhere_0", "NNoptWhere_1", "NNoptWhere_2"}) {
            if (Find<QRadioButton>(window, name)->isChecked()) {
                return QString::fromLatin1(name) + " [" +
                       Find<QLineEdit>(window, "NNtxtWhereExist")->text() + "]";
            }
        }
        return QStringLiteral("none");
    }

    QString WhatCaption(QWidget& window) { return Find<QGroupBox>(window, "fraWhat")->title(); }

    test::TempDir dir_;
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

enum class Where { Root, NewFolder, Existing };

struct ExportCase {
    ConversionPath code;
    bool selectNews; // only the News folder, through the selection window
    Where where;
    const char* tree;
    const char* message;
};

TEST_F(FileToFavoritesWindowTest, BothPathsExportWhatWasChosenWhereItWasChosen) {
    const ExportCase cases[] = {
        {4, false, Where::Root, "My Favorites[ Home News[ Daily ] Old[ Deep[ ] ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {4, true, Where::NewFolder, "My Favorites[ Imported[ News[ Daily ] ] Old[ Deep[ ] ] ]",
         "1 Folders & 1 Links Exported Successfully."},
        {4, false, Where::Existing, "My Favorites[ Old[ Deep[ Home News[ Daily ] ] ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {9, true, Where::Root, "My Favorites[ News[ Daily ] Old[ Deep[ ] ] ]",
         "1 Folders & 1 Links Exported Successfully."},
        {9, false, Where::NewFolder,
         "My Favorites[ Imported[ Home News[ Daily ] ] Old[ Deep[ ] ] ]",
         "1 Folders & 2 Links Exported Successfully."},
        {9, true, Where::Existing, "My Favorites[ Old[ Deep[ News[ Daily ] ] ] ]",
         "1 Folders & 1 Links Exported Successfully."},
    };
    const auto favorites = dir_.path() / "Favorites";
    for (const auto& row : cases) {
        SCOPED_TRACE(std::to_string(row.code) + " case " + row.tree);
        std::filesystem::remove_all(favorites);
        std::filesystem::create_directories(favorites / "Old" / "Deep");
        const bool fromOpera = row.code == 9;
        const auto source = dir_.path() / (fromOpera ? "source.adr" : "source.html");
        test::WriteFile(source, fromOpera ? test::kNewsAndHomeOpera : test::kNewsAndHomeNetscape);
        auto window = Open(row.code);
        PickFile(dialogs_, source);
        Click(*window, "NNcmdNNBrowse");
        if (row.selectNews) {
            Click(*window, "NNcmdSelect");
            SelectOnly(*window, QStringLiteral("News"));
        }
        switch (row.where) {
        case Where::Root:
            Click(*window, "NNoptWhere_0");
            break;
        case Where::NewFolder:
            Click(*window, "NNoptWhere_1");
            Find<QLineEdit>(*window, "NNtxtWhereNew")->setText(QStringLiteral("Imported"));
            break;
        case Where::Existing:
            PickFile(dialogs_, favorites / "Old" / "Deep");
            Click(*window, "NNoptWhere_2");
            break;
        }
        dialogs_.texts.clear();
        Click(*window, "Command10");
        EXPECT_EQ(dialogs_.texts, std::vector<QString>{QString::fromLatin1(row.message)});

        BookmarkTree written;
        ASSERT_TRUE(LoadSourceTree({StoreKind::Favorites, favorites.string()}, written));
        EXPECT_EQ(test::TreeText(written), row.tree);
        window->close();
    }
}

struct RefusalCase {
    ConversionPath code;
    const char* button;
    const char* message; // title, text
};

TEST_F(FileToFavoritesWindowTest, NoSourceChosenIsRefusedOnTheFirstTab) {
    const RefusalCase cases[] = {
        {4, "NNcmdSelect", "Bookmark File Not Selected: Please, Select a Bookmark File."},
        {9, "NNcmdSelect", "Bookmark File Not Selected: Please, Select a Bookmark File."},
        {4, "Command10", "Bookmark File Not Selected: Please, Select A Bookmark File."},
        {9, "Command10", "Bookmark File Not Selected: Please, Select A Bookmark File."},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(std::string(row.button) + " " + std::to_string(row.code));
        auto window = Open(row.code);
        Find<QTabWidget>(*window, "TabStrip1")->setCurrentIndex(1);
        dialogs_.titles.clear();
        dialogs_.texts.clear();
        Click(*window, row.button);
        ASSERT_EQ(dialogs_.texts.size(), 1U);
        EXPECT_EQ(dialogs_.titles[0] + ": " + dialogs_.texts[0], row.message);
        EXPECT_EQ(Find<QTabWidget>(*window, "TabStrip1")->currentIndex(), 0);
        window->close();
    }
}

TEST_F(FileToFavoritesWindowTest, AFileWithoutLinksIsRefusedAndASourceIsCountedOnce) {
    auto window = Open(4);
    test::WriteFile(dir_.path() / "empty.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL></DL>\n");
    PickFile(dialogs_, dir_.path() / "empty.html");
    Click(*window, "NNcmdNNBrowse");
    EXPECT_EQ(dialogs_.texts.back(), "The Selected File Does Not Contain Any Bookmark.");

    test::WriteFile(dir_.path() / "a.html", test::kNewsAndHomeNetscape);
    test::WriteFile(dir_.path() / "b.html", test::kNewsAndHomeNetscape);
    PickFile(dialogs_, dir_.path() / "a.html");
    Click(*window, "NNcmdNNBrowse");
    PickFile(dialogs_, dir_.path() / "b.html");
    Click(*window, "NNcmdNNBrowse");
    auto* list = Find<QComboBox>(*window, "cboNNLoc");
    auto choose = [&](const std::filesystem::path& file) {
        const int at = list->findText(QString::fromStdString(file.string()));
        list->setCurrentIndex(at);
        emit list->activated(at);
        return WhatCaption(*window);
    };
    // A file changed on disk shows whether choosing it counted it again.
    test::WriteFile(dir_.path() / "b.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                                            "<DT><A HREF=\"http://one/\">One</A>\n</DL>\n");
    QStringList seen;
    for (const char* file : {"b.html", "a.html", "b.html"}) {
        seen.append(choose(dir_.path() / file));
    }
    EXPECT_EQ(seen.join(" / ").toStdString(), "What to Export: (1 Folders && 2 Links) / "
                                              "What to Export: (1 Folders && 2 Links) / "
                                              "What to Export: (0 Folders && 1 Links)");
}

TEST_F(FileToFavoritesWindowTest, ATypedSourceIsTakenAndExported) {
    test::WriteFile(dir_.path() / "typed.adr", test::kNewsAndHomeOpera);
    auto window = Open(9);
    Find<QComboBox>(*window, "cboNNLoc")
        ->setEditText(QString::fromStdString((dir_.path() / "typed.adr").string()));
    Click(*window, "NNoptWhere_0");
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.texts,
              std::vector<QString>{QStringLiteral("1 Folders & 2 Links Exported Successfully.")});
    BookmarkTree written;
    ASSERT_TRUE(
        LoadSourceTree({StoreKind::Favorites, (dir_.path() / "Favorites").string()}, written));
    EXPECT_EQ(test::TreeText(written), "My Favorites[ Home News[ Daily ] Old[ Deep[ ] ] ]");
}

// A Favorites folder cannot hold the source's order: asked to keep it, the
// message names the folder that loses it; the box starts unchecked.
TEST_F(FileToFavoritesWindowTest, KeepingTheSourceOrderNamesTheFoldersThatLoseIt) {
    test::WriteFile(dir_.path() / "ordered.adr", "Opera Hotlist version 2.0\r\n\r\n"
                                                 "#URL\r\n\tNAME=Zed\r\n\tURL=http://zed/\r\n\r\n"
                                                 "#FOLDER\r\n\tNAME=Alpha\r\n\r\n-\r\n\r\n");
    auto window = Open(9);
    auto* keepOrder = Find<QCheckBox>(*window, "chkKeepOrder");
    EXPECT_FALSE(keepOrder->isChecked());
    keepOrder->setChecked(true);
    Find<QComboBox>(*window, "cboNNLoc")
        ->setEditText(QString::fromStdString((dir_.path() / "ordered.adr").string()));
    Click(*window, "NNoptWhere_0");
    Click(*window, "Command10");
    EXPECT_EQ(dialogs_.details,
              std::vector<QString>{QStringLiteral("Folders not kept in the source's order: 1 "
                                                  "(top level)")});
}

struct ChooserCase {
    const char* picked; // in the test folder; nullptr cancels the chooser
    const char* result;
};

TEST_F(FileToFavoritesWindowTest, AnExistingFolderIsTakenOnlyInsideTheFavoritesFolder) {
    std::filesystem::create_directories(dir_.path() / "Outside");
    const ChooserCase cases[] = {
        {nullptr, "NNoptWhere_0 []"},
        {"Favorites", "NNoptWhere_0 []"},
        {"Outside", "NNoptWhere_0 []"},
        {"Favorites/Old/Deep", "NNoptWhere_2 [Old/Deep]"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.picked != nullptr ? row.picked : "cancelled");
        auto window = Open(4);
        Click(*window, "NNoptWhere_0");
        if (row.picked != nullptr) {
            PickFile(dialogs_, dir_.path() / row.picked);
        }
        Click(*window, "NNoptWhere_2");
        EXPECT_EQ(WhereChoice(*window), row.result);
        window->close();
    }
}

TEST_F(FileToFavoritesWindowTest, ANewFavoritesFolderEmptiesTheExistingFolderChoice) {
    std::filesystem::create_directories(dir_.path() / "Other");
    auto window = Open(9);
    PickFile(dialogs_, dir_.path() / "Favorites" / "Old");
    Click(*window, "NNcmdWhereBrowse");
    const QString before = WhereChoice(*window);
    PickFile(dialogs_, dir_.path() / "Other");
    Click(*window, "NNcmdIEBrowse");
    EXPECT_EQ(before + " then " + WhereChoice(*window), "NNoptWhere_2 [Old] then NNoptWhere_1 []");
    EXPECT_EQ(dialogs_.titles, (std::vector<QString>{QStringLiteral("Please, Select a Folder."),
                                                     QStringLiteral("Please, Select a Folder.")}));
}

} // namespace
} // namespace tellavin
