#pragma once

#include "model/conversion_path.h"

#include <QPixmap>

class QWidget;

namespace tellavin {

// The picture of a path's button in the main window, for the export button
// of that path's window.
QPixmap PathPicture(ConversionPath code, const QWidget& window);
// One of the program's button pictures by name ("back", "hotlist"), at
// 24 by 24 pixels.
QPixmap ButtonPicture(const char* name);

} // namespace tellavin
