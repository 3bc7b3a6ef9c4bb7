#pragma once

#include "model/conversion_path.h"

#include <QWidget>

namespace tellavin {

// Stands in for a path's export window until that window exists: it names
// the chosen path and leads back to the main window.
class PathPlaceholderWindow : public QWidget {
    Q_OBJECT

public:
    PathPlaceholderWindow(ConversionPath code, QWidget& owner);
};

} // namespace tellavin
