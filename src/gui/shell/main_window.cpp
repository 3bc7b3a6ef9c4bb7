#include "gui/shell/main_window.h"

#include "gui/shell/about_window.h"
#include "gui/windows/control_array.h"
#include "gui/windows/dialogs.h"
#include "gui/windows/gui_resources.h"
#include "gui/windows/hover_help.h"
#include "gui/windows/picture_button.h"
#include "gui/windows/twips.h"
#include "gui/windows/widget_controls.h"
#include "platform/platform.h"
#include "settings/settings_location.h"
#include "settings/window_settings.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>

namespace tellavin {

namespace {

// The window's design, in twips. Its widths count a window border of
// kBorder on each side, so at the first level the way-back button lies just
// beyond the right edge of the window's inside.
constexpr int kButtonWidth = 1290;
constexpr int kButtonHeight = 585;
constexpr int kButtonTop = 60;
constexpr int kButtonLeft[] = {0, 1350, 2685, 4020};
constexpr int kFirstLevelWidth = 4080;
constexpr int kSecondLevelWidth = 5415;
constexpr int kBorder = 45;
constexpr int kInsideHeight = kButtonTop + kButtonHeight + kButtonTop;

// The main window's kind among the windows whose place is saved.
constexpr std::int32_t kMainWindowKind = 1;

// Room that the status line keeps beside its text, in pixels.
constexpr int kStatusLineMargins = 18;

// What the status line says while the mouse is on no button: what the
// buttons of the level shown are for.
const char* const kFirstLevelHelp = "Choose where your bookmarks are now.";
const char* const kSecondLevelHelp = "Choose where to export them.";

// The place of a button in the row: a path button stands on the source
// button it replaces.
int ButtonPlace(int index) {
    return index <= kBackButton ? index : (index - kBackButton - 1) % 3;
}

} // namespace

MainWindow::MainWindow(Platform& platform, Dialogs& dialogs, PathWindowFactory createPathWindow,
                       QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::Form1>()), platform_(platform),
      dialogs_(dialogs), createPathWindow_(std::move(createPathWindow)) {
    ui_->setupUi(this);
    // A fixed window: it can be moved, minimised and closed, not resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    CreateButtons();
    ConnectMenus();
    hoverHelp_ = new HoverHelp(*this, *ui_->StatusBar1, QString::fromLatin1(kFirstLevelHelp));
    SetUpStatusLine();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui_->centralWidget->setFixedHeight(TwipsToPixelsY(kInsideHeight, *this));
    ShowFirstLevel();
    WidgetControls controls(*this);
    LoadWindowSettings(kMainWindowKind, controls, platform_, session_);
}

MainWindow::~MainWindow() {
    // The path window goes first, while all of this window still exists, and
    // without the return to this window that its closing would bring.
    if (exportWindow_) {
        disconnect(exportWindow_, nullptr, this, nullptr);
        delete exportWindow_;
    }
}

void MainWindow::CreateButtons() {
    const PathButtonPictures pictures = BuildPathButtonPictures(*this, devicePixelRatioF());
    for (int i = 0; i < kPathButtonCount; ++i) {
        auto* button = new PictureButton(ui_->centralWidget);
        button->setObjectName(ControlArrayName(QStringLiteral("cmdInizio"), i));
        button->setGeometry(TwipsToPixelsX(kButtonLeft[ButtonPlace(i)], *this),
                            TwipsToPixelsY(kButtonTop, *this), TwipsToPixelsX(kButtonWidth, *this),
                            TwipsToPixelsY(kButtonHeight, *this));
        button->SetPicture(pictures.normal.at(i));
        button->SetDownPicture(pictures.normal.at(i));
        button->SetHoverPicture(pictures.hover.at(i));
        button->SetDisabledPicture(pictures.disabled.at(i));
        const QString tag = PathButtonTag(i);
        button->setStatusTip(tag);
        button->setToolTip(tag);
        button->setAccessibleName(tag);
        connect(button, &QPushButton::clicked, this, [this, i] { PathButtonClick(i); });
        cmdInizio_[i] = button;
    }
}

// The buttons' help texts are long for the narrow window: the status line
// wraps them, with room for as many lines as the longest one takes at the
// width of the level that shows its button.
void MainWindow::SetUpStatusLine() {
    statusText_ = new QLabel(ui_->StatusBar1);
    statusText_->setObjectName(QStringLiteral("lblStatus"));
    statusText_->setWordWrap(true);
    // A permanent widget is never covered by the status line's own message,
    // which it shows in its place.
    ui_->StatusBar1->addPermanentWidget(statusText_, 1);
    connect(ui_->StatusBar1, &QStatusBar::messageChanged, statusText_, &QLabel::setText);
    const QFontMetrics metrics(statusText_->font());
    const auto height = [&](const QString& text, int level) {
        const int room = TwipsToPixelsX(level - 2 * kBorder, *this) - kStatusLineMargins;
        return metrics.boundingRect(QRect(0, 0, room, QWIDGETSIZE_MAX), Qt::TextWordWrap, text)
            .height();
    };
    int tallest = std::max(height(QString::fromLatin1(kFirstLevelHelp), kFirstLevelWidth),
                           height(QString::fromLatin1(kSecondLevelHelp), kSecondLevelWidth));
    for (int i = 0; i < kPathButtonCount; ++i) {
        tallest = std::max(tallest, height(PathButtonTag(i),
                                           i < kBackButton ? kFirstLevelWidth : kSecondLevelWidth));
    }
    statusText_->setMinimumHeight(tallest);
    hoverHelp_->ShowRestText();
}

void MainWindow::ConnectMenus() {
    const std::pair<QAction*, int> pathItems[] = {
        {ui_->mnuFileIEToFF, 4},     {ui_->mnuFileIEToOpera, 5},  {ui_->mnuFileIEToDHTML, 6},
        {ui_->mnuFileFFToIE, 7},     {ui_->mnuFileFFToOpera, 8},  {ui_->mnuFileFFToDHTML, 9},
        {ui_->mnuFileOperaToIE, 10}, {ui_->mnuFileOperaToFF, 11}, {ui_->mnuFileOperaToDHTML, 12},
    };
    for (const auto& [item, index] : pathItems) {
        connect(item, &QAction::triggered, this, [this, index = index] { PathButtonClick(index); });
    }
    connect(ui_->mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->mnuHelpHelp, &QAction::triggered, this, &MainWindow::ShowHelp);
    connect(ui_->mnuHelpAbout, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::PathButtonClick(int index) {
    const PathButtonDesign& design = kPathButtons.at(index);
    ConversionPath chosen = 0;
    switch (design.role) {
    case PathButtonRole::Source:
        ShowSecondLevel(design.nFirstPathButton);
        break;
    case PathButtonRole::Back:
        ShowFirstLevel();
        break;
    case PathButtonRole::Path:
        chosen = design.code;
        session_.code = chosen;
        if (!exportWindow_) {
            exportWindow_ = createPathWindow_(chosen, session_, *this);
        }
        break;
    }
    ui_->Picture1->setFocus();
    cmdInizio_[index]->EndHover();
    if (chosen != 0) {
        ShowPathWindow();
    }
}

void MainWindow::ShowPathWindow() {
    EnableMainWindow(false);
    QWidget* window = exportWindow_;
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, &MainWindow::PathWindowClosed, Qt::UniqueConnection);
    // A window owned by a disabled window starts disabled with it.
    window->setEnabled(true);
    window->show();
    window->raise();
    window->activateWindow();
}

// The path's window is gone: the path ends and the main window comes back at
// the level it showed.
void MainWindow::PathWindowClosed() {
    ResetSharedState(session_);
    EnableMainWindow(true);
}

void MainWindow::ShowFirstLevel() {
    hoverHelp_->SetRestText(QString::fromLatin1(kFirstLevelHelp));
    for (int i = 0; i < kPathButtonCount; ++i) {
        cmdInizio_[i]->setVisible(i <= kBackButton);
    }
    SetWindowWidth(kFirstLevelWidth);
}

void MainWindow::ShowSecondLevel(int firstPathButton) {
    hoverHelp_->SetRestText(QString::fromLatin1(kSecondLevelHelp));
    for (int i = 0; i < kPathButtonCount; ++i) {
        const bool pathOfSource = i >= firstPathButton && i < firstPathButton + 3;
        cmdInizio_[i]->setVisible(i == kBackButton || pathOfSource);
    }
    SetWindowWidth(kSecondLevelWidth);
}

void MainWindow::SetWindowWidth(int twips) {
    ui_->centralWidget->setFixedWidth(TwipsToPixelsX(twips - 2 * kBorder, *this));
    layout()->activate();
}

void MainWindow::EnableMainWindow(bool enabled) {
    setEnabled(enabled);
    for (PictureButton* button : cmdInizio_) {
        button->setEnabled(enabled);
        button->update();
    }
    update();
    if (enabled) {
        activateWindow();
    }
}

void MainWindow::BringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    // While a path window or a box is open, the user goes on there.
    QWidget* front = QApplication::activeModalWidget();
    if (front == nullptr) {
        front = exportWindow_;
    }
    if (front != nullptr) {
        front->raise();
        front->activateWindow();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A disabled main window waits for the path window or box in front of it.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    // A position that cannot be saved must not keep the program open; the
    // next start then opens where the last saved position says.
    SaveWindowSettings(kMainWindowKind, WidgetControls(*this), platform_);
    event->accept();
}

void MainWindow::ShowHelp() {
    // Beside the program in the build and a portable copy; an installed
    // copy has it in its data folder.
    const auto help =
        InstalledFile(QCoreApplication::applicationDirPath().toStdString(), "Help.html");
    platform_.ShellOpen(help, 1);
}

void MainWindow::ShowAbout() {
    EnableMainWindow(false);
    AboutWindow about(platform_, this);
    about.setEnabled(true);
    dialogs_.Run(about);
    EnableMainWindow(true);
}

} // namespace tellavin
