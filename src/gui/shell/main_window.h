#pragma once

#include "gui/windows/path_buttons.h"
#include "model/session_state.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

namespace Ui {
class Form1;
}

class QLabel;

namespace tellavin {

class Dialogs;
class HoverHelp;
class PictureButton;
class Platform;

// The main window: the user picks one of the nine conversion paths, first
// the source and then the target on two levels of picture buttons, or from
// the File menu, and the window opens that path's export window.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Makes the export window of a path, a top-level window owned by owner.
    using PathWindowFactory =
        std::function<QWidget*(ConversionPath code, SessionState& session, QWidget& owner)>;

    MainWindow(Platform& platform, Dialogs& dialogs, PathWindowFactory createPathWindow,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // What a click on path button index does; the File menu's path items
    // call it with their button's index.
    void PathButtonClick(int index);

    // Enables or disables the window and its buttons; enabling also gives
    // the window the focus.
    void EnableMainWindow(bool enabled);

    // Brings the window to the front, or the window of the open path when
    // one is open, for a second start of the program.
    void BringToFront();

    SessionState& Session() { return session_; }
    QWidget* CurrentExportWindow() const { return exportWindow_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateButtons();
    void ConnectMenus();
    void SetUpStatusLine();
    void ShowFirstLevel();
    void ShowSecondLevel(int firstPathButton);
    void SetWindowWidth(int twips);
    void ShowPathWindow();
    void PathWindowClosed();
    void ShowHelp();
    void ShowAbout();

    std::unique_ptr<Ui::Form1> ui_;
    Platform& platform_;
    Dialogs& dialogs_;
    PathWindowFactory createPathWindow_;
    SessionState session_;
    std::array<PictureButton*, kPathButtonCount> cmdInizio_{};
    HoverHelp* hoverHelp_ = nullptr;
    QLabel* statusText_ = nullptr;
    QPointer<QWidget> exportWindow_;
};

} // namespace tellavin
