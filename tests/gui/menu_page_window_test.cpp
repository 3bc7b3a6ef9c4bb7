#include "gui/export/menu_page_window.h"
#include "gui/selection/selection_window.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

// Which of the bookmarks a page shows as items: the folder by its quoted
// name, the links by their addresses.
std::string ItemsIn(const std::string& page) {
    std::string items;
    const std::pair<const char*, const char*> bookmarks[] = {
        {"News", "'News'"}, {"Daily", "http://daily/"}, {"Home", "http://home/"}};
    for (auto [name, mark] : bookmarks) {
        if (page.find(mark) != std::string::npos) {
            items += items.empty() ? name : std::string(" ") + name;
        }
    }
    return items;
}

class MenuPageWindowTest : public ::testing::Test {
protected:
    MenuPageWindowTest() {
        platform_.executablePath = dir_ / "tellavin";
        platform_.folders[SpecialFolder::Documents] = dir_.path().string();
        platform_.folders[SpecialFolder::Favorites] = (dir_.path() / "Favorites").string();
        test::WriteFile(dir_.path() / "Favorites" / "News" / "Daily.url",
                        "[InternetShortcut]\r\nURL=http://daily/\r\n");
        test::WriteFile(dir_.path() / "Favorites" / "Home.url",
                        "[InternetShortcut]\r\nURL=http://home/\r\n");
        test::WriteFile(dir_.path() / "bookmarks.html", test::kNewsAndHomeNetscape);
        test::WriteFile(dir_.path() / "hotlist.adr", test::kNewsAndHomeOpera);
    }

    std::unique_ptr<MenuPageWindow> Open(ConversionPath code) {
        auto window =
            std::make_unique<MenuPageWindow>(code, session_, platform_, dialogs_.service(), owner_);
        window->show();
        if (code != 5) {
            window->findChild<QComboBox*>(QStringLiteral("cboNNLoc"))
                ->setEditText(
                    QString::fromStdString(dir_ / (code == 6 ? "bookmarks.html" : "hotlist.adr")));
        }
        return window;
    }

    test::TempDir dir_;
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    SessionState session_;
    QWidget owner_;
};

TEST_F(MenuPageWindowTest, EachPathPublishesWhatWasChosen) {
    for (ConversionPath code : {5, 6, 11}) {
        for (bool selection : {false, true}) {
            SCOPED_TRACE(std::to_string(code) + (selection ? " selection" : " all"));
            auto window = Open(code);
            Find<QCheckBox>(*window, "chkShowBrowser")->setChecked(false);
            if (selection) {
                Find<QPushButton>(*window, "cmdSelect")->click();
                auto* chooser = window->findChild<SelectionWindow*>();
                ASSERT_NE(chooser, nullptr);
                auto* tree = chooser->findChild<QTreeView*>(QStringLiteral("TreeView1"))->model();
                auto news = tree->match(tree->index(0, 0), Qt::DisplayRole, QStringLiteral("News"),
                                        1, Qt::MatchExactly | Qt::MatchRecursive);
                ASSERT_EQ(news.size(), 1);
                tree->setData(news[0], Qt::Checked, Qt::CheckStateRole);
                chooser->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
            }
            dialogs_.texts.clear();
            Find<QPushButton>(*window, "cmdCreaDHTML")->click();
            EXPECT_EQ(dialogs_.texts,
                      std::vector<QString>{
                          selection
                              ? QStringLiteral("1 Folders & 1 Links Exported Successfully.")
                              : QStringLiteral("1 Folders & 2 Links Exported Successfully.")});
            EXPECT_EQ(ItemsIn(test::ReadFile(dir_.path() / "TL_Menu.html")),
                      selection ? "News Daily" : "News Daily Home");
            window->close();
        }
    }
}

TEST_F(MenuPageWindowTest, OptionsReachThePageAndTheBrowserOpensIt) {
    auto window = Open(6);
    Find<QCheckBox>(*window, "chkVertical")->setChecked(true);
    Find<QCheckBox>(*window, "chkShadows")->setChecked(false);
    Find<QLineEdit>(*window, "txtPageTitle")->setText(QStringLiteral("Mine & yours"));
    Find<QCheckBox>(*window, "chkShowBrowser")->setChecked(true);
    dialogs_.texts.clear();
    Find<QPushButton>(*window, "cmdCreaDHTML")->click();
    EXPECT_TRUE(dialogs_.texts.empty()) << "no box when the page opens in the browser";
    const auto page = dir_ / "TL_Menu.html";
    EXPECT_EQ(platform_.opened, std::vector<std::string>{page});
    EXPECT_EQ(platform_.openedShowCommands, std::vector<std::int32_t>{3});
    const auto text = test::ReadFile(page);
    EXPECT_NE(text.find("<title>Mine &amp; yours</title>"), std::string::npos);
    EXPECT_NE(text.find("startMenu('root', true"), std::string::npos);
    EXPECT_EQ(Find<QLabel>(*window, "Label1")->text(), "Location of the DHTML Menu: (File Exists)");
}

TEST_F(MenuPageWindowTest, EachCheckBoxOptionShowsInThePage) {
    const std::pair<const char*, const char*> options[] = {
        {"chkVertical", "startMenu('root', true"},
        {"chkOpenNew", "'http://daily/', 'nw:'"},
        {"chkShowUrl", "pMenu.onmouseover"},
        {"chkShadows", "addDropShadow(pMenu"},
        {"chkShowStatistics", "This page has been created the"},
    };
    auto window = Open(6);
    Find<QCheckBox>(*window, "chkShowBrowser")->setChecked(false);
    for (auto [option, mark] : options) {
        SCOPED_TRACE(option);
        std::string shown;
        for (bool on : {true, false}) {
            Find<QCheckBox>(*window, option)->setChecked(on);
            Find<QPushButton>(*window, "cmdCreaDHTML")->click();
            shown += test::ReadFile(dir_.path() / "TL_Menu.html").find(mark) != std::string::npos
                         ? "shown "
                         : "absent ";
        }
        EXPECT_EQ(shown, "shown absent ");
    }
}

// Unchecked at first, the box leaves the page sorted and the message names
// the separators dropped; checked, the root submenu keeps the source's order
// with its separator as a divider, and the next window remembers the choice.
TEST_F(MenuPageWindowTest, KeepTheSourceOrderShowsSeparatorsAndTheMessageListsTheLosses) {
    struct OrderCase {
        bool keepOrder;
        std::string rootMenu; // the items of the root's submenu
        QString details;
    };
    const OrderCase cases[] = {
        {false,
         " addItem('Bookmarks Toolbar', 'm1', 'sm:');\r\n"
         " addItem('Work', 'm2', 'sm:');\r\n"
         " addItem('Beta', 'https://b.example/', 'nw:');\r\n"
         " addItem('Mid', 'https://m.example/', 'nw:', '', 0, 'A site worth a description');\r\n",
         QStringLiteral("Separators dropped: 2 (top level, Bookmarks Toolbar)\n"
                        "Tags dropped: 1 (Alpha)\n"
                        "Keywords dropped: 1 (Alpha)\n"
                        "Icons dropped: 1 (Zeta)\n"
                        "Links without a usable address skipped: 1 (Broken)")},
        {true,
         " addItem('Bookmarks Toolbar', 'm1', 'sm:');\r\n"
         " addItem('', '', 'div:');\r\n"
         " addItem('Mid', 'https://m.example/', 'nw:', '', 0, 'A site worth a description');\r\n"
         " addItem('Work', 'm2', 'sm:');\r\n"
         " addItem('Beta', 'https://b.example/', 'nw:');\r\n",
         QStringLiteral("Tags dropped: 1 (Alpha)\n"
                        "Keywords dropped: 1 (Alpha)\n"
                        "Icons dropped: 1 (Zeta)\n"
                        "Links without a usable address skipped: 1 (Broken)")},
    };
    const auto source =
        std::string(TELLAVIN_TEST_DATA) + "/netscape/toolbar-dates-separators-order-lost.html";
    bool remembered = false; // unchecked by default
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keepOrder);
        auto window = Open(6);
        auto* keepOrder = Find<QCheckBox>(*window, "chkKeepOrder");
        EXPECT_EQ(keepOrder->isChecked(), remembered);
        keepOrder->setChecked(c.keepOrder);
        Find<QCheckBox>(*window, "chkShowBrowser")->setChecked(false);
        Find<QComboBox>(*window, "cboNNLoc")->setEditText(QString::fromStdString(source));
        dialogs_.details.clear();
        Find<QPushButton>(*window, "cmdCreaDHTML")->click();
        EXPECT_EQ(dialogs_.details, std::vector<QString>{c.details});
        const auto page = test::ReadFile(dir_.path() / "TL_Menu.html");
        const auto start = page.find("startMenu('m0'");
        const auto items = page.find("\r\n", start) + 2;
        EXPECT_EQ(page.substr(items, page.find("\r\n\r\n", items) + 2 - items), c.rootMenu);
        window->close();
        remembered = c.keepOrder;
    }
    EXPECT_TRUE(Find<QCheckBox>(*Open(6), "chkKeepOrder")->isChecked());
}

TEST_F(MenuPageWindowTest, RefusalsAndTheBreakCount) {
    auto window = Open(6);
    auto* source = Find<QComboBox>(*window, "cboNNLoc");
    source->setEditText(source->itemText(0));
    auto* count = Find<QLineEdit>(*window, "txtMaxItems");
    QTest::keyClicks(count, "1x23"); // non-digits dropped, two digits at most
    const QString typed = count->text();
    count->setText(QStringLiteral("1"));
    Find<QPushButton>(*window, "cmdCreaDHTML")->click();
    count->setText(QStringLiteral("99"));
    Find<QPushButton>(*window, "cmdSelect")->click();
    Find<QPushButton>(*window, "cmdCreaDHTML")->click();
    EXPECT_EQ(typed.size(), 2);
    EXPECT_EQ(dialogs_.texts,
              (std::vector<QString>{QStringLiteral("Please, insert a number in range [2-99]"),
                                    QStringLiteral("Please, Select a Bookmark File."),
                                    QStringLiteral("Please, Select A Bookmark File.")}));
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "TL_Menu.html"));
}

TEST_F(MenuPageWindowTest, PreviewClicksChooseTheSlotAndAChangeMakesTheColorsCustom) {
    auto window = Open(6);
    struct Click {
        const char* part;
        Qt::MouseButton button;
        Qt::KeyboardModifiers keys;
        const char* swatch; // the swatch that takes the colour; nullptr for none
    };
    const Click clicks[] = {
        {"lblPreview_1", Qt::LeftButton, Qt::NoModifier, "picColor_3"},
        {"lblPreview_1", Qt::RightButton, Qt::NoModifier, "picColor_2"},
        {"lblPreview_1", Qt::LeftButton, Qt::ShiftModifier, "picColor_1"},
        {"lblPreview_1", Qt::RightButton, Qt::ShiftModifier, "picColor_0"},
        {"lblPreview_1", Qt::LeftButton, Qt::ControlModifier, nullptr},
        {"lblPreview_0", Qt::LeftButton, Qt::NoModifier, "picColor_5"},
        {"lblPreview_0", Qt::RightButton, Qt::NoModifier, "picColor_4"},
        {"lblMenuBar", Qt::RightButton, Qt::NoModifier, "picColor_7"},
        {"lblSfondo", Qt::LeftButton, Qt::NoModifier, "picColor_6"},
    };
    int shade = 10;
    for (const auto& click : clicks) {
        SCOPED_TRACE(std::string(click.part) + " " + std::to_string(shade));
        const QColor chosen(shade, 20, 30);
        dialogs_.Then([chosen](QDialog& dialog) {
            static_cast<QColorDialog&>(dialog).setCurrentColor(chosen);
            return static_cast<int>(QDialog::Accepted);
        });
        const auto dialogsBefore = dialogs_.titles.size();
        QTest::mouseClick(Find<QLabel>(*window, click.part), click.button, click.keys,
                          QPoint(2, 2));
        if (click.swatch == nullptr) {
            EXPECT_EQ(dialogs_.titles.size(), dialogsBefore) << "no colour dialog";
            break;
        }
        EXPECT_TRUE(Find<QPushButton>(*window, click.swatch)->styleSheet().contains(chosen.name()));
        EXPECT_EQ(Find<QComboBox>(*window, "cboMenuColor")->currentText(), "<Custom>");
        ++shade;
    }
}

TEST_F(MenuPageWindowTest, PageListKeepsFiveNewestFirstAndPresetsAreSavedAndDeleted) {
    auto window = Open(6);
    for (int i = 1; i <= 6; ++i) {
        dialogs_.Then([this, i](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(
                QString::fromStdString(dir_ / ("page" + std::to_string(i) + ".html")));
            return static_cast<int>(QDialog::Accepted);
        });
        Find<QPushButton>(*window, "cmdMenuFilename")->click();
    }
    auto* pages = Find<QComboBox>(*window, "cboDHTMLLoc");
    pages->activated(3); // page3, chosen again, goes back to the top
    QStringList names;
    for (int i = 0; i < pages->count(); ++i) {
        names.append(QFileInfo(pages->itemText(i)).fileName());
    }
    EXPECT_EQ(names.join(' '), "page3.html page6.html page5.html page4.html page2.html");

    dialogs_.Then([](QDialog& dialog) {
        static_cast<QInputDialog&>(dialog).setTextValue(QStringLiteral("Evening"));
        return static_cast<int>(QDialog::Accepted);
    });
    Find<QPushButton>(*window, "cmdPresetSave")->click();
    auto* presets = Find<QComboBox>(*window, "cboMenuColor");
    EXPECT_EQ(presets->currentText(), "Evening");
    EXPECT_TRUE(Find<QPushButton>(*window, "cmdPresetDelete")->isEnabled());
    dialogs_.Then([](QDialog&) { return static_cast<int>(QMessageBox::Yes); });
    Find<QPushButton>(*window, "cmdPresetDelete")->click();
    EXPECT_EQ(presets->currentText(), "<Custom>");
    EXPECT_EQ(presets->findText(QStringLiteral("Evening")), -1);
}

// A page that no web browser could be handed is announced as written,
// saying so, with what the export lost behind the details.
TEST_F(MenuPageWindowTest, APageNoBrowserTakesIsAnnouncedAsWritten) {
    platform_.openSucceeds = false;
    auto window = Open(6);
    Find<QCheckBox>(*window, "chkShowBrowser")->setChecked(true);
    Find<QPushButton>(*window, "cmdCreaDHTML")->click();
    EXPECT_EQ(
        std::pair(dialogs_.titles, dialogs_.texts),
        std::pair(std::vector<QString>{"Exporting Complete"},
                  std::vector<QString>{"No Web Browser Could Be Opened to Show the Menu Page.\n"
                                       "1 Folders & 2 Links Exported Successfully."}));
}

struct TypedPath {
    const char* box;   // the source list or the page list
    const char* text;  // typed, "~" for the home folder
    bool enter;        // Enter pressed, else the box left with Tab
    const char* shown; // the frame's caption and the page list's label
};

void PrintTo(const TypedPath& typed, std::ostream* out) {
    *out << typed.box << " " << typed.text << (typed.enter ? " Enter" : " Tab");
}

// A path typed into a box counts as soon as the user presses Enter or
// leaves the box: a source is counted, a page's label says whether it
// exists, and "~" is the home folder, as in the command line.
TEST_F(MenuPageWindowTest, ATypedPathCountsOnEnterOrLeavingTheBox) {
    platform_.folders[SpecialFolder::Home] = dir_.path().string();
    test::WriteFile(dir_.path() / "two.html", R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<DL><p>
<DT><A HREF="http://one/">One</A>
<DT><A HREF="http://two/">Two</A>
</DL>
)");
    const std::string existing = (dir_.path() / "bookmarks.html").string();
    const TypedPath rows[] = {
        {"cboNNLoc", "~/two.html", true,
         "What to Export: (0 Folders && 2 Links) | Location of the DHTML Menu: (New File)"},
        {"cboNNLoc", "~/two.html", false,
         "What to Export: (0 Folders && 2 Links) | Location of the DHTML Menu: (New File)"},
        {"cboDHTMLLoc", "~/bookmarks.html", true,
         "What to Export: (1 Folders && 2 Links) | Location of the DHTML Menu: (File Exists)"},
        {"cboDHTMLLoc", existing.c_str(), false,
         "What to Export: (1 Folders && 2 Links) | Location of the DHTML Menu: (File Exists)"},
        {"cboDHTMLLoc", "~/new.html", false,
         "What to Export: (1 Folders && 2 Links) | Location of the DHTML Menu: (New File)"},
    };
    for (const TypedPath& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row));
        auto window = Open(6);
        auto* source = Find<QComboBox>(*window, "cboNNLoc");
        source->setEditText(QString::fromStdString(existing));
        QTest::keyClick(source->lineEdit(), Qt::Key_Return);
        auto* box = Find<QComboBox>(*window, row.box);
        QApplication::setActiveWindow(window.get());
        box->lineEdit()->setFocus();
        box->setEditText(QString::fromUtf8(row.text));
        QTest::keyClick(box->lineEdit(), row.enter ? Qt::Key_Return : Qt::Key_Tab);
        EXPECT_EQ((Find<QGroupBox>(*window, "fraWhat")->title() + " | " +
                   Find<QLabel>(*window, "Label1")->text())
                      .toStdString(),
                  row.shown);
        window->close();
    }
}

} // namespace
} // namespace tellavin
