#include "gui/export/export_pictures.h"

#include "gui/windows/path_buttons.h"
#include "gui/windows/svg_picture.h"

#include <QString>
#include <QWidget>

namespace tellavin {

QPixmap PathPicture(ConversionPath code, const QWidget& window) {
    const auto pictures = BuildPathButtonPictures(window, window.devicePixelRatioF());
    for (int i = 0; i < kPathButtonCount; ++i) {
        if (kPathButtons[i].role == PathButtonRole::Path && kPathButtons[i].code == code) {
            return pictures.normal.value(i);
        }
    }
    return {};
}

QPixmap ButtonPicture(const char* name) {
    return RenderSvg(QStringLiteral(":/icons/%1-normal.svg").arg(QString::fromLatin1(name)),
                     {24, 24}, 2);
}

} // namespace tellavin
