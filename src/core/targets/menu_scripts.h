#pragma once

#include <string_view>

namespace tellavin {

// The JavaScript every menu page carries, built into the program from the
// files in resources/menu. Each text is a whole number of lines ending in a
// line feed.

// The popup menu engine (popup_menu.js): the API the page script calls.
std::string_view PopupMenuEngineScript();
// The page events that draw and re-place the menus (page_events.js).
std::string_view PageEventScript();
// The drop shadows behind the submenus (drop_shadow.js).
std::string_view DropShadowScript();

} // namespace tellavin
