#pragma once

#include "model/conversion_path.h"

#include <QPixmap>

class QWidget;

namespace tellavin {

// The picture of a path's button in the main window, shown on the export
// button of that path's window.
QPixmap PathPicture(ConversionPath code, const QWidget& window);

// A picture button's icon from the program's resources ("back", "hotlist").
QPixmap ButtonPicture(const char* name);

} // namespace tellavin
