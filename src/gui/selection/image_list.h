#pragma once

#include <QHash>
#include <QIcon>
#include <cstdint>

namespace tellavin {

class BookmarkTree;

// The images the folder tree and the link list share, by their one-based
// index: the nine fixed pictures, then the links' own icons that the tree
// kept, each decoded once, the first time a row shows it. An icon that does
// not decode shows as its source's default link picture.
class ImageList {
public:
    explicit ImageList(const BookmarkTree& tree) : tree_(tree) {}

    QIcon Image(std::int32_t index) const;
    // A folder's picture: the closed folder, the opened one while selected.
    QIcon FolderIcon(std::int32_t closedImage) const;
    // Forgets the decoded link icons, for a tree that was emptied or rebuilt.
    void Clear() { decoded_.clear(); }

private:
    const BookmarkTree& tree_;
    mutable QHash<std::int32_t, QIcon> decoded_; // link icons by index
    mutable QHash<std::int32_t, QIcon> folders_; // folder pictures by closed image
};

} // namespace tellavin
