#pragma once

#include <QString>
#include <QWidget>

namespace tellavin {

// Controls that a window design keeps as an indexed array (cmdInizio 0 to 12,
// lblLink 0 and 1) carry the array's name and the index as object name:
// "cmdInizio_3".
inline QString ControlArrayName(const QString& name, int index) {
    return name + QLatin1Char('_') + QString::number(index);
}

// Item index of the array name inside window, or nullptr when it has none.
template <typename Control>
Control* FindControl(const QWidget& window, const QString& name, int index) {
    return window.findChild<Control*>(ControlArrayName(name, index));
}

} // namespace tellavin
