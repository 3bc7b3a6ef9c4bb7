// Writes window.html into the folder given as the only argument the way a
// user would: the menu window, on Qt's offscreen platform, publishes a small
// Netscape-format file with options changed through its controls and two
// colours picked in the colour dialog.
#include "gui/export/menu_page_window.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "model/session_state.h"
#include "support/fake_platform.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>

namespace {

using namespace tellavin;

// News holds two links and the folder Deep; one link sits at the root.
constexpr const char* kSource = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
<DT><H3>News</H3>
<DL><p>
<DT><A HREF="http://example.invalid/daily">Daily</A>
<DT><A HREF="http://example.invalid/weekly">Weekly</A>
<DT><H3>Deep</H3>
<DL><p>
<DT><A HREF="http://example.invalid/bottom">Bottom</A>
</DL><p>
</DL><p>
<DT><A HREF="http://example.invalid/home">Home</A>
</DL><p>
)";

template <typename Control> Control& Find(QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        std::cerr << "no control " << name << "\n";
        std::exit(1);
    }
    return *control;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " FOLDER\n";
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    InitGuiResources();

    const std::filesystem::path folder = argv[1];
    const auto source = folder / "window-bookmarks.htm";
    const auto page = folder / "window.html";
    test::WriteFile(source, kSource);
    std::filesystem::remove(page);

    // The window's settings go to a fresh folder, so stored choices from
    // elsewhere cannot change the page.
    test::TempDir settings;
    test::FakePlatform platform;
    platform.executablePath = settings / "tellavin";
    platform.folders[SpecialFolder::Documents] = settings.path().string();

    // Colour dialogs take the colours in line; every other box is recorded
    // and closed.
    std::deque<QColor> colors{QColor(0x12, 0x34, 0x56), QColor(0xab, 0xcd, 0xef)};
    Dialogs dialogs([&colors](QDialog& dialog) {
        if (auto* chooser = qobject_cast<QColorDialog*>(&dialog); chooser && !colors.empty()) {
            chooser->setCurrentColor(colors.front());
            colors.pop_front();
            return static_cast<int>(QDialog::Accepted);
        }
        if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
            std::cerr << "box: " << box->text().toStdString() << "\n";
        }
        return static_cast<int>(QDialog::Rejected);
    });

    SessionState session;
    QWidget owner;
    MenuPageWindow window(6, session, platform, dialogs, owner);
    window.show();
    Find<QComboBox>(window, "cboNNLoc").setEditText(QString::fromStdString(source.string()));
    Find<QComboBox>(window, "cboDHTMLLoc").setEditText(QString::fromStdString(page.string()));
    Find<QCheckBox>(window, "chkVertical").setChecked(true);
    Find<QCheckBox>(window, "chkShadows").setChecked(false);
    Find<QLineEdit>(window, "txtPageTitle").setText(QStringLiteral("Made by the window"));
    Find<QCheckBox>(window, "chkShowBrowser").setChecked(false);
    Find<QPushButton>(window, "picColor_2").click(); // item background, pointer away
    Find<QPushButton>(window, "picColor_3").click(); // item background, pointer over
    Find<QPushButton>(window, "cmdCreaDHTML").click();

    if (!colors.empty() || !std::filesystem::exists(page)) {
        std::cerr << page << " was not written with both colours chosen\n";
        return 1;
    }
    return 0;
}
