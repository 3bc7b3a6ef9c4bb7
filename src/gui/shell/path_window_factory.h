#pragma once

#include "model/session_state.h"

class QWidget;

namespace tellavin {

// Makes the window in which the user runs conversion path code, owned by
// the main window.
QWidget* CreatePathWindow(ConversionPath code, SessionState& session, QWidget& owner);

} // namespace tellavin
