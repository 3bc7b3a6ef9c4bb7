#pragma once

#include "model/conversion_path.h"

#include <QList>
#include <QPixmap>
#include <QString>
#include <array>

class QPaintDevice;

namespace tellavin {

// The thirteen picture buttons of the main window, cmdInizio 0 to 12: three
// source buttons (first level), the way back, and nine path buttons (second
// level) that take the places of the source buttons.
enum class PathButtonRole { Source, Back, Path };

struct PathButtonDesign {
    PathButtonRole role;
    int nFirstPathButton;    // a source button: the first of its three path buttons
    ConversionPath code;     // a path button: the conversion path it opens
    const char* sPicture[3]; // icons drawn side by side; unused places are nullptr
};

inline constexpr int kPathButtonCount = 13;
inline constexpr int kBackButton = 3;

extern const std::array<PathButtonDesign, kPathButtonCount> kPathButtons;

// The action text of button index: its help text and tool tip.
QString PathButtonTag(int index);

// The three image lists of the buttons: image i of each list is button i in
// its normal, hover and disabled look, sized for device.
struct PathButtonPictures {
    QList<QPixmap> normal;
    QList<QPixmap> hover;
    QList<QPixmap> disabled;
};

PathButtonPictures BuildPathButtonPictures(const QPaintDevice& device, qreal devicePixelRatio);

} // namespace tellavin
