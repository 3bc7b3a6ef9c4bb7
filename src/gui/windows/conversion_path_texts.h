#pragma once

#include "model/conversion_path.h"

#include <QString>

namespace tellavin {

// What the windows call a conversion path: the text of its button, tool tip
// and menu, and the title of its export window.
struct ConversionPathTexts {
    ConversionPath code;
    const char* sAction;
    const char* sWindowTitle;
};

inline constexpr ConversionPathTexts kConversionPathTexts[] = {
    {2, "Export Favorites from Internet Explorer to Firefox",
     "IE Favorites to FF Bookmarks - Tellavin"},
    {7, "Export Favorites from Internet Explorer to Opera",
     "IE Favorites to Opera Bookmarks - Tellavin"},
    {5, "Export Favorites in a Cascading Menu", "IE Favorites to DHTML Menu - Tellavin"},
    {4, "Export Bookmarks from Firefox or Chromium-family to Internet Explorer",
     "FF Bookmarks to IE Favorites - Tellavin"},
    {8, "Export Bookmarks from Firefox or Chromium-family to Opera",
     "FF Bookmarks to Opera Bookmarks - Tellavin"},
    {6, "Export Firefox or Chromium-family Bookmarks in a Cascading Menu",
     "FF Bookmarks to DHTML Menu - Tellavin"},
    {9, "Export Bookmarks from Opera to Internet Explorer",
     "Opera Bookmarks to IE Favorites - Tellavin"},
    {10, "Export Bookmarks from Opera to Firefox", "Opera Bookmarks to FF Bookmarks - Tellavin"},
    {11, "Export Opera Bookmarks in a Cascading Menu", "Opera Bookmarks to DHTML Menu - Tellavin"},
};

// Empty texts for a code that names no conversion path.
QString PathActionText(ConversionPath code);
QString PathWindowTitle(ConversionPath code);

} // namespace tellavin
