#include "gui/windows/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace tellavin {

cMouse::~cMouse() {
    if (bSet_) {
        QGuiApplication::restoreOverrideCursor();
    }
}

void cMouse::SetPointer(Qt::CursorShape pointer) {
    if (bSet_) {
        QGuiApplication::changeOverrideCursor(QCursor(pointer));
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(pointer));
    bSet_ = true;
}

} // namespace tellavin
