#include "gui/windows/svg_picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tellavin {

QPixmap RenderSvg(const QString& file, QSize size, qreal devicePixelRatio) {
    QSvgRenderer renderer(file);
    if (!renderer.isValid() || size.isEmpty()) {
        return QPixmap();
    }
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(), QSizeF(size)));
    return picture;
}

} // namespace tellavin
