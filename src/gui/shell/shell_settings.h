#pragma once

#include <QtGlobal>

class QWidget;

namespace tellavin {

// What the shell keeps in the settings file: the main window's position
// (window kind 1) and the running total of exported folders and links.
class ShellSettings {
public:
    // Places the main window where it was left, or at a third of the screen
    // on the first start, inside the screen in any case.
    void LoadMainWindowPosition(QWidget& window);
    void SaveMainWindowPosition(const QWidget& window);
    // The exported-items total, read without adding to it.
    qint64 ExportedTotal();
};

} // namespace tellavin
