#pragma once

#include <QIcon>

namespace tellavin {

// The fixed images at the start of the image list the selection window's
// folder tree and list of links share, by one-based position:
//   1, 2  Favorites folder, closed and open
//   3, 4  folder of a Netscape-format file, closed and open
//   5     link in a Netscape-format file
//   6     link in the Favorites (an Internet Shortcut)
//   7, 8  folder of an Opera hotlist, closed and open
//   9     link in an Opera hotlist
// Any other position gives an empty icon. The pictures come from the
// program's resources, so InitGuiResources must have run first.
QIcon TreeImage(int oneBasedIndex);

// The mark a column header of the list of links shows for its sort order.
QIcon SortMark(bool ascending);

} // namespace tellavin
