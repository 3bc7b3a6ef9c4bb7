#include "gui/windows/widget_controls.h"
#include "model/session_state.h"
#include "settings/window_settings.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tellavin {
namespace {

// A window with the controls of an export window from the Favorites: the
// option buttons in two groups, as the user sees them.
class ExportLikeWindow : public QWidget {
public:
    ExportLikeWindow() {
        Make<QLineEdit>("txtIELoc", this);
        Make<QCheckBox>("chkBackup", this);
        Make<QCheckBox>("chkSkipThere", this);
        Make<QCheckBox>("chkLinksBefore", this);
        Make<QCheckBox>("chkKeepOrder", this);
        auto* old = Make<QGroupBox>("fraOld", this);
        Make<QRadioButton>("optOldErase", old);
        Make<QRadioButton>("optOldMerge", old);
        auto* where = Make<QGroupBox>("fraWhere", this);
        Make<QRadioButton>("optWhere_0", where);
        Make<QRadioButton>("optWhere_1", where);
        auto* place = Make<QGroupBox>("frmPlace", this);
        Make<QRadioButton>("optPlace_0", place);
        Make<QRadioButton>("optPlace_1", place);
        Make<QRadioButton>("optPlace_2", place);
        auto* list = Make<QComboBox>("cboNNLoc", this);
        list->addItem("- Please Select a Bookmark File -");
        resize(300, 200);
    }

    template <typename Control> Control* Get(const char* name) {
        return findChild<Control*>(QString::fromLatin1(name));
    }

private:
    template <typename Control> Control* Make(const char* name, QWidget* parent) {
        auto* control = new Control(parent);
        control->setObjectName(QString::fromLatin1(name));
        return control;
    }
};

TEST(WidgetControls, CheckBoxesHoldClearCheckedAndGrey) {
    ExportLikeWindow window;
    WidgetControls controls(window);
    for (std::int32_t value : {1, 2, 0}) {
        controls.SetValue("chkBackup", value);
        EXPECT_EQ(controls.GetValue("chkBackup"), value);
    }
    window.Get<QCheckBox>("chkBackup")->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(controls.GetValue("chkBackup"), 2);
    controls.SetValue("chkBackup", 7);
    EXPECT_EQ(controls.GetValue("chkBackup"), 2) << "no check box value: the box keeps its own";
}

TEST(WidgetControls, OptionButtonArraysAreFoundByIndex) {
    ExportLikeWindow window;
    WidgetControls controls(window);
    controls.SetValue("optWhere(1)", -1);
    EXPECT_TRUE(window.Get<QRadioButton>("optWhere_1")->isChecked());
    EXPECT_EQ(controls.GetValue("optWhere(0)"), 0);
    EXPECT_EQ(controls.GetValue("optWhere(1)"), -1);

    controls.SetValue("optWhere(0)", -1);
    EXPECT_EQ(controls.GetValue("optWhere(1)"), 0) << "the group keeps one set";
    controls.SetValue("optWhere(0)", 0);
    EXPECT_EQ(controls.GetValue("optWhere(0)"), 0);
    EXPECT_EQ(controls.GetValue("optWhere(1)"), 0);
    // Clearing did not end the group's exclusiveness.
    controls.SetValue("optWhere(0)", -1);
    controls.SetValue("optWhere(1)", -1);
    EXPECT_EQ(controls.GetValue("optWhere(0)"), 0);
}

TEST(WidgetControls, MissingControlsAndOtherKindsAnswerNothing) {
    ExportLikeWindow window;
    WidgetControls controls(window);
    EXPECT_EQ(controls.GetValue("chkShadows"), std::nullopt);
    EXPECT_EQ(controls.GetValue("txtIELoc"), std::nullopt);
    EXPECT_EQ(controls.GetText("chkBackup"), std::nullopt);
    EXPECT_EQ(controls.GetItems("txtIELoc"), std::nullopt);
    EXPECT_EQ(controls.GetValue("optWhere(2)"), std::nullopt);
    controls.SetText("txtPageTitle", "x");
    controls.AddItem("cboDHTMLLoc", "x");
    EXPECT_EQ(controls.GetText("txtPageTitle"), std::nullopt);
}

TEST(WidgetControls, TextBoxesAndComboBoxes) {
    ExportLikeWindow window;
    WidgetControls controls(window);
    controls.SetText("txtIELoc", "/home/ann/Favorites Ü");
    EXPECT_EQ(window.Get<QLineEdit>("txtIELoc")->text(), QString("/home/ann/Favorites Ü"));
    EXPECT_EQ(controls.GetText("txtIELoc"), "/home/ann/Favorites Ü");

    auto* list = window.Get<QComboBox>("cboNNLoc");
    QSignalSpy chosen(list, &QComboBox::activated);
    controls.AddItem("cboNNLoc", "<default> /home/ann/bookmarks.html");
    EXPECT_EQ(controls.GetItems("cboNNLoc"),
              (std::vector<std::string>{"- Please Select a Bookmark File -",
                                        "<default> /home/ann/bookmarks.html"}));
    controls.SelectItem("cboNNLoc", 1);
    EXPECT_EQ(list->currentIndex(), 1);
    ASSERT_EQ(chosen.count(), 1) << "selecting runs the window's handler as a user's choice";
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 1);
    controls.SelectItem("cboNNLoc", 2);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(chosen.count(), 1);
}

TEST(WidgetControls, RectangleIsTheWindowsPlaceAndScreenScale) {
    ExportLikeWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    WidgetControls controls(window);
    controls.SetRect({40, 30, 320, 240});
    const WindowRect rect = controls.GetRect();
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.width, 320);
    EXPECT_EQ(rect.height, 240);
    const ScreenInfo screen = controls.GetScreen();
    EXPECT_DOUBLE_EQ(screen.twipsPerPixelX, 1440.0 / window.logicalDpiX());
    EXPECT_EQ(screen.width, window.screen()->virtualGeometry().width());
}

TEST(WidgetControls, SavedOptionsReachTheWidgetsAndComeBack) {
    test::TempDir dir;
    test::WriteFile(dir.path() / "bookmarks.html", "<DL><p>\n</DL><p>\n");
    const std::string bookmarks = dir / "bookmarks.html";
    test::WriteFile(dir.path() / "tellavin.ini",
                    "[Settings]\nBackup=0\nLinksBefore=2\nOldErase=-1\nOldMerge=0\n"
                    "Where0=-1\nWhere1=0\nPlace0=0\nPlace1=0\nPlace2=-1\nNNLocation0=" +
                        bookmarks + "\n");
    test::FakePlatform platform;
    platform.executablePath = dir / "tellavin";
    SessionState session;
    ExportLikeWindow window;
    WidgetControls controls(window);

    LoadWindowSettings(2, controls, platform, session);
    EXPECT_EQ(window.Get<QCheckBox>("chkBackup")->checkState(), Qt::Unchecked);
    EXPECT_EQ(window.Get<QCheckBox>("chkLinksBefore")->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(window.Get<QRadioButton>("optOldErase")->isChecked());
    EXPECT_TRUE(window.Get<QRadioButton>("optWhere_0")->isChecked());
    EXPECT_TRUE(window.Get<QRadioButton>("optPlace_2")->isChecked());
    EXPECT_EQ(window.Get<QComboBox>("cboNNLoc")->currentText(), QString::fromStdString(bookmarks));

    window.Get<QCheckBox>("chkBackup")->setChecked(true);
    window.Get<QRadioButton>("optOldMerge")->setChecked(true);
    window.Get<QRadioButton>("optPlace_0")->setChecked(true);
    window.Get<QLineEdit>("txtIELoc")->setText("/home/ann/Favorites");
    const SettingsSaveResult saved = SaveWindowSettings(2, controls, platform);
    ASSERT_TRUE(saved.ok) << saved.message;
    const std::string text = test::ReadFile(dir.path() / "tellavin.ini");
    for (const char* line :
         {"Backup=1", "LinksBefore=2", "OldErase=0", "OldMerge=-1", "Where0=-1", "Where1=0",
          "Place0=-1", "Place1=0", "Place2=0", "FavLocation=/home/ann/Favorites"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }
}

} // namespace
} // namespace tellavin
