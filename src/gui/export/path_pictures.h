#pragma once

#include "model/conversion_path.h"

#include <QPixmap>

class QWidget;

namespace tellavin {

// The picture of a path's button in the main window, which the export
// button of that path's window shows.
QPixmap PathPicture(ConversionPath code, const QWidget& window);

// One of the program's small pictures ("favorites", "bookmark-file",
// "hotlist", "menu-page", "back") for a browse or back button.
QPixmap SmallPicture(const char* name);

} // namespace tellavin
