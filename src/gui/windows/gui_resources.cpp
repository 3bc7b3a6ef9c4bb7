#include "gui/windows/gui_resources.h"

#include "gui/windows/svg_picture.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be called
// from inside the namespace.
static void InitTellavinResources() {
    Q_INIT_RESOURCE(tellavin);
}

namespace tellavin {

void InitGuiResources() {
    InitTellavinResources();
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(RenderSvg(QStringLiteral(":/icons/tellavin.svg"), QSize(size, size), 1.0));
    }
    return icon;
}

} // namespace tellavin
