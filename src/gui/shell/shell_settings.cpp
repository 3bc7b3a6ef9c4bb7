#include "shell/shell_settings.h"

#include <QScreen>
#include <QWidget>

namespace tellavin {

void ShellSettings::LoadMainWindowPosition(QWidget& window) {
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.left() + screen.width() / 3, screen.top() + screen.height() / 3);
}

void ShellSettings::SaveMainWindowPosition(const QWidget&) {}

qint64 ShellSettings::ExportedTotal() {
    return 0;
}

} // namespace tellavin
