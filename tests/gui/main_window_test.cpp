#include "gui/shell/main_window.h"
#include "gui/shell/path_window_factory.h"
#include "gui/windows/control_array.h"
#include "gui/windows/picture_button.h"
#include "model/store_kind.h"
#include "support/answered_dialogs.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

// The program "runs" from a temporary folder, which therefore holds its
// settings file.
test::FakePlatform PlatformIn(const test::TempDir& dir) {
    test::FakePlatform platform;
    platform.executablePath = dir / "tellavin";
    return platform;
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
        : platform_(PlatformIn(dir_)),
          window_(platform_, dialogs_.service(),
                  [this](ConversionPath code, SessionState& session, QWidget& owner) {
                      created_.push_back(code);
                      return CreatePathWindow(code, session, owner, platform_, dialogs_.service());
                  }) {
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    PictureButton* Button(int index) {
        return FindControl<PictureButton>(window_, QStringLiteral("cmdInizio"), index);
    }

    QWidget* Inside() { return window_.centralWidget(); }

    // The buttons a user can see: shown, and inside the window.
    std::vector<int> ButtonsInView() {
        std::vector<int> shown;
        for (int i = 0; i < kPathButtonCount; ++i) {
            if (Button(i)->isVisibleTo(&window_) &&
                Inside()->rect().contains(Button(i)->geometry())) {
                shown.push_back(i);
            }
        }
        return shown;
    }

    QString StatusLine() {
        return window_.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage();
    }

    void Trigger(const char* item) {
        auto* action = window_.findChild<QAction*>(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }

    // Closes the open path window with its own button and waits until the
    // window is gone.
    void GoBackFromPathWindow() {
        QWidget* pathWindow = window_.CurrentExportWindow();
        ASSERT_NE(pathWindow, nullptr);
        // The stand-in's button, or an export window's picture button.
        QPushButton* back = nullptr;
        for (const char* name : {"cmdBack", "Command8", "NNcmdExit", "cmdExit"}) {
            back = back != nullptr ? back : pathWindow->findChild<QPushButton*>(name);
        }
        ASSERT_NE(back, nullptr);
        QTest::mouseClick(back, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return window_.CurrentExportWindow() == nullptr; }));
    }

    test::TempDir dir_;
    test::FakePlatform platform_;
    test::AnsweredDialogs dialogs_;
    std::vector<ConversionPath> created_;
    MainWindow window_;
};

TEST_F(MainWindowTest, ButtonsStandWhereTheDesignPutsThem) {
    ASSERT_EQ(window_.logicalDpiX(), 96);
    ASSERT_EQ(window_.logicalDpiY(), 96);
    const int placeLeft[] = {0, 90, 179, 268};
    for (int i = 0; i < kPathButtonCount; ++i) {
        SCOPED_TRACE(i);
        const int place = i <= 3 ? i : (i - 4) % 3;
        EXPECT_EQ(Button(i)->geometry(), QRect(placeLeft[place], 4, 86, 39));
    }
    EXPECT_EQ(window_.windowTitle(), "Tellavin");
    EXPECT_EQ(StatusLine(), "Choose where your bookmarks are now.");
}

TEST_F(MainWindowTest, FirstLevelOffersTheSourcesWithTheWayBackBeyondTheEdge) {
    EXPECT_EQ(ButtonsInView(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Inside()->width(), 266);
    EXPECT_TRUE(Button(kBackButton)->isVisibleTo(&window_));
    EXPECT_GE(Button(kBackButton)->x(), Inside()->width());
}

TEST_F(MainWindowTest, SourceButtonShowsItsPathsAndGoBackReturns) {
    struct Level {
        int source;
        std::vector<int> shown;
    };
    for (const Level& level :
         {Level{0, {3, 4, 5, 6}}, Level{1, {3, 7, 8, 9}}, Level{2, {3, 10, 11, 12}}}) {
        SCOPED_TRACE(level.source);
        QTest::mouseClick(Button(level.source), Qt::LeftButton);
        EXPECT_EQ(ButtonsInView(), level.shown);
        EXPECT_EQ(Inside()->width(), 355);
        EXPECT_EQ(Button(kBackButton)->statusTip(), "Go Back to Main Window");

        QTest::mouseClick(Button(kBackButton), Qt::LeftButton);
        EXPECT_EQ(ButtonsInView(), (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(Inside()->width(), 266);
    }
    EXPECT_TRUE(created_.empty());
}

TEST_F(MainWindowTest, ClickGivesPicture1TheFocus) {
    QTest::mouseClick(Button(2), Qt::LeftButton);
    EXPECT_EQ(window_.focusWidget(), window_.findChild<QWidget*>(QStringLiteral("Picture1")));
}

struct MenuPath {
    const char* item;
    int button;
    ConversionPath code;
    const char* title;
    const char* text;
};

void PrintTo(const MenuPath& path, std::ostream* out) {
    *out << path.item;
}

const MenuPath kMenuPaths[] = {
    {"mnuFileIEToFF", 4, 2, "IE Favorites to FF Bookmarks - Tellavin",
     "Export Favorites from Internet Explorer to Firefox"},
    {"mnuFileIEToOpera", 5, 7, "IE Favorites to Opera Bookmarks - Tellavin",
     "Export Favorites from Internet Explorer to Opera"},
    {"mnuFileIEToDHTML", 6, 5, "IE Favorites to DHTML Menu - Tellavin",
     "Export Favorites in a Cascading Menu"},
    {"mnuFileFFToIE", 7, 4, "FF Bookmarks to IE Favorites - Tellavin",
     "Export Bookmarks from Firefox or Chromium-family to Internet Explorer"},
    {"mnuFileFFToOpera", 8, 8, "FF Bookmarks to Opera Bookmarks - Tellavin",
     "Export Bookmarks from Firefox or Chromium-family to Opera"},
    {"mnuFileFFToDHTML", 9, 6, "FF Bookmarks to DHTML Menu - Tellavin",
     "Export Firefox or Chromium-family Bookmarks in a Cascading Menu"},
    {"mnuFileOperaToIE", 10, 9, "Opera Bookmarks to IE Favorites - Tellavin",
     "Export Bookmarks from Opera to Internet Explorer"},
    {"mnuFileOperaToFF", 11, 10, "Opera Bookmarks to FF Bookmarks - Tellavin",
     "Export Bookmarks from Opera to Firefox"},
    {"mnuFileOperaToDHTML", 12, 11, "Opera Bookmarks to DHTML Menu - Tellavin",
     "Export Opera Bookmarks in a Cascading Menu"},
};

class MenuPathTest : public MainWindowTest, public ::testing::WithParamInterface<MenuPath> {
protected:
    void ExpectPathWindowOpen(const MenuPath& path) {
        QWidget* pathWindow = window_.CurrentExportWindow();
        ASSERT_NE(pathWindow, nullptr);
        EXPECT_TRUE(pathWindow->isVisible());
        EXPECT_EQ(pathWindow->windowTitle(), path.title);
        if (auto* standIn = pathWindow->findChild<QLabel*>(QStringLiteral("lblPath"))) {
            EXPECT_EQ(standIn->text(), path.text);
        }
        EXPECT_EQ(window_.Session().code, path.code);
    }
};

TEST_P(MenuPathTest, MenuItemOpensTheSamePathAsItsButtonWhetherShownOrNot) {
    const MenuPath& path = GetParam();
    const int source = (path.button - 4) / 3;

    // From the first level, where the path button is hidden.
    Trigger(path.item);
    ExpectPathWindowOpen(path);
    GoBackFromPathWindow();
    EXPECT_EQ(ButtonsInView(), (std::vector<int>{0, 1, 2}));

    // From the second level of another source, where it is hidden too.
    QTest::mouseClick(Button((source + 1) % 3), Qt::LeftButton);
    Trigger(path.item);
    ExpectPathWindowOpen(path);
    GoBackFromPathWindow();

    // With the button itself.
    QTest::mouseClick(Button(kBackButton), Qt::LeftButton);
    QTest::mouseClick(Button(source), Qt::LeftButton);
    QTest::mouseClick(Button(path.button), Qt::LeftButton);
    ExpectPathWindowOpen(path);
    EXPECT_EQ(Button(path.button)->statusTip(), path.text);
    GoBackFromPathWindow();

    EXPECT_EQ(created_, (std::vector<ConversionPath>{path.code, path.code, path.code}));
}

INSTANTIATE_TEST_SUITE_P(AllNinePaths, MenuPathTest, ::testing::ValuesIn(kMenuPaths),
                         [](const auto& info) { return std::string(info.param.item); });

TEST_F(MainWindowTest, PathWindowDisablesTheWindowUntilItClosesAndTheLevelStays) {
    window_.Session().destinationFile = "/home/ann/bookmarks.html";
    QTest::mouseClick(Button(2), Qt::LeftButton);
    QTest::mouseClick(Button(11), Qt::LeftButton);

    EXPECT_FALSE(window_.isEnabled());
    for (int i = 0; i < kPathButtonCount; ++i) {
        EXPECT_FALSE(Button(i)->isEnabled()) << i;
    }
    EXPECT_EQ(ButtonsInView(), (std::vector<int>{3, 10, 11, 12})) << "disabled, not hidden";
    EXPECT_EQ(Button(11)->CurrentAppearance().look, PictureButton::Look::Disabled);
    EXPECT_TRUE(window_.CurrentExportWindow()->isEnabled());
    EXPECT_EQ(window_.Session().code, 10);

    // The main window cannot be closed behind the path window.
    window_.close();
    EXPECT_TRUE(window_.isVisible());

    window_.Session().favoritesFolder = "/home/ann/Favorites";
    GoBackFromPathWindow();
    EXPECT_TRUE(window_.isEnabled());
    for (int i = 0; i < kPathButtonCount; ++i) {
        EXPECT_TRUE(Button(i)->isEnabled()) << i;
    }
    EXPECT_EQ(ButtonsInView(), (std::vector<int>{3, 10, 11, 12}));
    EXPECT_EQ(Inside()->width(), 355);
    EXPECT_EQ(window_.Session().code, 0);
    EXPECT_EQ(window_.Session().favoritesFolder, "");
    EXPECT_EQ(window_.Session().destinationFile, "/home/ann/bookmarks.html");
}

TEST_F(MainWindowTest, ClosingThePathWindowByItsTitleBarAlsoReturns) {
    Trigger("mnuFileFFToDHTML");
    ASSERT_NE(window_.CurrentExportWindow(), nullptr);
    window_.CurrentExportWindow()->close();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window_.CurrentExportWindow() == nullptr; }));
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_EQ(ButtonsInView(), (std::vector<int>{0, 1, 2}));
}

TEST_F(MainWindowTest, SecondStartBringsTheWindowInUseToTheFront) {
    window_.showMinimized();
    window_.BringToFront();
    EXPECT_FALSE(window_.isMinimized());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));

    Trigger("mnuFileIEToOpera");
    QWidget* pathWindow = window_.CurrentExportWindow();
    ASSERT_NE(pathWindow, nullptr);
    window_.activateWindow();
    window_.BringToFront();
    EXPECT_TRUE(QTest::qWaitForWindowActive(pathWindow));
    GoBackFromPathWindow();
}

TEST(MainWindowEnd, WindowClosingWithAPathWindowOpenTakesItAlong) {
    test::TempDir dir;
    test::FakePlatform platform = PlatformIn(dir);
    test::AnsweredDialogs dialogs;
    QPointer<QWidget> pathWindow;
    {
        MainWindow window(platform, dialogs.service(), PathWindows(platform, dialogs.service()));
        window.show();
        window.PathButtonClick(1);
        window.PathButtonClick(9);
        pathWindow = window.CurrentExportWindow();
        ASSERT_FALSE(pathWindow.isNull());
    }
    EXPECT_TRUE(pathWindow.isNull());
}

TEST_F(MainWindowTest, StatusLineShowsTheHelpOfTheButtonUnderTheMouse) {
    QTest::mouseMove(Button(0));
    EXPECT_EQ(StatusLine(), "Export Favorites from Internet Explorer to ...");
    EXPECT_TRUE(Button(0)->IsHot());
    EXPECT_EQ(Button(0)->CurrentAppearance().look, PictureButton::Look::Hot);

    QTest::mouseMove(Button(1));
    EXPECT_EQ(StatusLine(), "Export Bookmarks from Firefox or Chromium-family to ...");
    EXPECT_FALSE(Button(0)->IsHot());
    EXPECT_EQ(Button(0)->CurrentAppearance().look, PictureButton::Look::Normal);

    QTest::mouseMove(Button(2));
    EXPECT_EQ(StatusLine(), "Export Bookmarks from Opera to ...");

    // Below the buttons, away from every control with help.
    QTest::mouseMove(Inside(), QPoint(5, Inside()->height() - 2));
    EXPECT_EQ(StatusLine(), "Choose where your bookmarks are now.");
    EXPECT_FALSE(Button(2)->IsHot());
}

// The status line's text, and whether all of it shows: wrapped at the
// width of the line, it takes no more than the line's height.
std::pair<std::string, bool> ShownWhole(const QLabel& line) {
    const QRect room = line.contentsRect();
    const QRect needed = line.fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000),
                                                         Qt::TextWordWrap, line.text());
    return {line.text().toStdString(),
            needed.width() <= room.width() && needed.height() <= room.height()};
}

// What the buttons are for is shown at start and at each level, and the
// help of every button shows whole, in the window's own font, at the
// width of the level that shows the button.
TEST_F(MainWindowTest, EveryHelpTextShowsWholeOnTheStatusLineOfItsLevel) {
    auto* line = window_.findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->font().pointSizeF(), window_.font().pointSizeF());
    EXPECT_EQ(ShownWhole(*line),
              std::pair(std::string("Choose where your bookmarks are now."), true));
    const auto expectWhole = [&](int index) {
        QTest::mouseMove(Button(index));
        QApplication::processEvents();
        EXPECT_EQ(ShownWhole(*line), std::pair(Button(index)->statusTip().toStdString(), true));
    };
    for (int source = 0; source < 3; ++source) {
        expectWhole(source);
        QTest::mouseClick(Button(source), Qt::LeftButton);
        QTest::mouseMove(Inside(), QPoint(5, Inside()->height() - 2));
        QApplication::processEvents();
        EXPECT_EQ(ShownWhole(*line), std::pair(std::string("Choose where to export them."), true));
        for (int index : ButtonsInView()) {
            expectWhole(index);
        }
        QTest::mouseClick(Button(kBackButton), Qt::LeftButton);
    }
}

TEST_F(MainWindowTest, ClickOnAPathEndsTheHoverLook) {
    QTest::mouseClick(Button(0), Qt::LeftButton);
    QTest::mouseMove(Button(6));
    EXPECT_EQ(StatusLine(), "Export Favorites in a Cascading Menu");
    QTest::mouseClick(Button(6), Qt::LeftButton);
    EXPECT_FALSE(Button(6)->IsHot());
    EXPECT_EQ(StatusLine(), "Choose where to export them.");
    GoBackFromPathWindow();
}

// The help page names every kind of store the program reads or writes, by
// what it is and by its name on the command line.
TEST(HelpPage, NamesEveryStoreKind) {
    QFile file(QStringLiteral(TELLAVIN_SAMPLES "/../help/Help.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    std::string missing;
    for (const auto& traits : kStoreKinds) {
        const auto description = QString::fromUtf8(
            traits.description.data(), static_cast<qsizetype>(traits.description.size()));
        const auto name =
            QString::fromUtf8(traits.name.data(), static_cast<qsizetype>(traits.name.size()));
        if (!help.contains(description, Qt::CaseInsensitive) ||
            !help.contains(QStringLiteral("<code>") + name + QStringLiteral(":</code>"))) {
            missing += std::string(traits.name) + " ";
        }
    }
    EXPECT_EQ(missing, "");
}

TEST_F(MainWindowTest, HelpOpensTheHelpPageBesideTheProgram) {
    Trigger("mnuHelpHelp");
    ASSERT_EQ(platform_.opened.size(), 1u);
    EXPECT_EQ(QString::fromStdString(platform_.opened[0]),
              QCoreApplication::applicationDirPath() + "/Help.html");
    EXPECT_EQ(platform_.openedShowCommands[0], 1);
    // The build puts the page beside the program too.
    EXPECT_TRUE(QFileInfo(QFileInfo(TELLAVIN_GUI_EXE).dir().filePath("Help.html")).isFile());
}

TEST_F(MainWindowTest, AboutIsModalOverTheDisabledWindowAndShowsTheTotal) {
    test::WriteFile(dir_.path() / "tellavin.ini", "[Settings]\r\nTotalItemsExported=70123\r\n");
    bool mainEnabledMeanwhile = true;
    QString version;
    QString total;
    dialogs_.Then([&](QDialog& about) {
        mainEnabledMeanwhile = window_.isEnabled();
        EXPECT_EQ(about.objectName(), "frmAbout");
        EXPECT_EQ(about.parentWidget(), &window_);
        EXPECT_TRUE(about.isEnabled());
        version = about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
        total = about.findChild<QLabel*>(QStringLiteral("lblTotalItemsExported"))->text();
        return static_cast<int>(QDialog::Accepted);
    });
    Trigger("mnuHelpAbout");
    EXPECT_EQ(dialogs_.titles, (std::vector<QString>{"About - Tellavin"}));
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_EQ(version, "Tellavin - Version 2.48");
    EXPECT_EQ(total, "Total Exported Items: 70123");
    EXPECT_TRUE(window_.isEnabled());
    // Reading the total does not add to it.
    EXPECT_EQ(test::ReadFile(dir_.path() / "tellavin.ini"),
              "[Settings]\r\nTotalItemsExported=70123\r\n");
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndSavesItsPlaceInTwips) {
    window_.move(120, 90);
    Trigger("mnuFileExit");
    EXPECT_FALSE(window_.isVisible());
    const std::string saved = test::ReadFile(dir_.path() / "tellavin.ini");
    EXPECT_NE(saved.find("MainLeft=1800"), std::string::npos) << saved;
    EXPECT_NE(saved.find("MainTop=1350"), std::string::npos) << saved;
}

// Where a new main window opens, for a settings file with the given text
// (none when empty).
QPoint OpeningPlace(const std::string& settings) {
    test::TempDir dir;
    if (!settings.empty()) {
        test::WriteFile(dir.path() / "tellavin.ini", settings);
    }
    test::FakePlatform platform = PlatformIn(dir);
    test::AnsweredDialogs dialogs;
    MainWindow window(platform, dialogs.service(), PathWindows(platform, dialogs.service()));
    return window.pos();
}

TEST(MainWindowPlace, FirstStartOpensAtAThirdOfTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    const QPoint place = OpeningPlace("");
    EXPECT_LE(std::abs(place.x() - screen.width() / 3), 1);
    EXPECT_LE(std::abs(place.y() - screen.height() / 3), 1);
}

TEST(MainWindowPlace, RememberedPlaceIsRestored) {
    EXPECT_EQ(OpeningPlace("[Position]\r\nMainLeft=1500\r\nMainTop=3000\r\n"), QPoint(100, 200));
}

TEST(MainWindowPlace, PlaceFromALargerScreenIsPulledOntoThisOne) {
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    test::TempDir dir;
    test::FakePlatform platform = PlatformIn(dir);
    test::AnsweredDialogs dialogs;
    MainWindow sized(platform, dialogs.service(), PathWindows(platform, dialogs.service()));
    const QPoint place = OpeningPlace("[Position]\r\nMainLeft=30000\r\nMainTop=-600\r\n");
    EXPECT_EQ(place, QPoint(screen.width() - sized.frameGeometry().width(), 0));
}

} // namespace
} // namespace tellavin
