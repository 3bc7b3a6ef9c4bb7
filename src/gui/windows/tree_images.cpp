#include "gui/windows/tree_images.h"

#include "gui/windows/svg_picture.h"

#include <array>

namespace tellavin {
namespace {

// Drawn at the sizes the pictures are laid out for; other sizes are scaled
// from the nearest of them.
QIcon LoadTreePicture(const char* name) {
    const QString file = QStringLiteral(":/icons/tree/%1.svg").arg(QLatin1String(name));
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addPixmap(RenderSvg(file, QSize(size, size), 1.0));
    }
    return icon;
}

} // namespace

QIcon TreeImage(int oneBasedIndex) {
    static const std::array<QIcon, 9> images{
        LoadTreePicture("favorites-folder-closed"),
        LoadTreePicture("favorites-folder-opened"),
        LoadTreePicture("netscape-folder-closed"),
        LoadTreePicture("netscape-folder-opened"),
        LoadTreePicture("netscape-link"),
        LoadTreePicture("favorites-link"),
        LoadTreePicture("opera-folder-closed"),
        LoadTreePicture("opera-folder-opened"),
        LoadTreePicture("opera-link"),
    };
    if (oneBasedIndex < 1 || oneBasedIndex > static_cast<int>(images.size())) {
        return QIcon();
    }
    return images[static_cast<std::size_t>(oneBasedIndex - 1)];
}

QIcon SortMark(bool ascending) {
    static const QIcon up = LoadTreePicture("sort-ascending");
    static const QIcon down = LoadTreePicture("sort-descending");
    return ascending ? up : down;
}

} // namespace tellavin
