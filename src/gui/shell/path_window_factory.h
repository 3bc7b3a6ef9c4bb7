#pragma once

#include "gui/shell/main_window.h"
#include "model/session_state.h"

class QWidget;

namespace tellavin {

class Dialogs;
class Platform;

// Makes the window in which the user runs conversion path code, owned by
// the main window: the export window of the path, or a stand-in for the
// paths whose window this version does not have yet.
QWidget* CreatePathWindow(ConversionPath code, SessionState& session, QWidget& owner,
                          Platform& platform, Dialogs& dialogs);

// The main window's maker of path windows, on this platform and dialogs.
MainWindow::PathWindowFactory PathWindows(Platform& platform, Dialogs& dialogs);

} // namespace tellavin
