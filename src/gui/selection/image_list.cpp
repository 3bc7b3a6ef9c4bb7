#include "gui/selection/image_list.h"

#include "gui/windows/tree_images.h"
#include "model/bookmark_tree.h"

#include <QImage>
#include <QPixmap>

namespace tellavin {

QIcon ImageList::Image(std::int32_t index) const {
    if (index < image::kFirstLinkIcon) {
        return TreeImage(index);
    }
    auto found = decoded_.find(index);
    if (found != decoded_.end()) {
        return *found;
    }
    // The shared list ends at image kMaxImages: the icons after it show the
    // default.
    auto bytes = index <= image::kMaxImages ? tree_.LinkIconBytes(index) : std::string_view();
    QImage picture;
    picture.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                         static_cast<int>(bytes.size()));
    QIcon icon = picture.isNull() ? TreeImage(LinkRowIcon(tree_.Source()))
                                  : QIcon(QPixmap::fromImage(picture));
    decoded_.insert(index, icon);
    return icon;
}

QIcon ImageList::FolderIcon(std::int32_t closedImage) const {
    auto found = folders_.find(closedImage);
    if (found != folders_.end()) {
        return *found;
    }
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addPixmap(TreeImage(closedImage).pixmap(size), QIcon::Normal);
        icon.addPixmap(TreeImage(closedImage + 1).pixmap(size), QIcon::Selected);
    }
    folders_.insert(closedImage, icon);
    return icon;
}

} // namespace tellavin
