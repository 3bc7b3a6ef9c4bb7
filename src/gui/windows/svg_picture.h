#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace tellavin {

// Draws an SVG picture (a file or a ":/" resource) at a size in
// device-independent pixels, sharp on screens with a device pixel ratio
// above 1. An SVG that cannot be read gives an empty pixmap.
QPixmap RenderSvg(const QString& file, QSize size, qreal devicePixelRatio);

} // namespace tellavin
