#pragma once

#include "model/session_state.h"
#include "settings/setting_store.h"
#include "settings/window_controls.h"

#include <string>
#include <string_view>

namespace tellavin {

// The remembered entries of a window's location lists, in section
// "Settings" of the settings file, five numbered keys per list.
//
// A store list (a combo box such as "cboNNLoc") starts with a prompt item
// placed by the window; its other items are bookmark files, each a bare path
// or "<" + label + "> " + path.
enum class StoreList {
    Netscape, // keys "NNLocation0" to "NNLocation4"; labelled items are kept
    Opera,    // keys "OperaHotlist0" to "OperaHotlist4"; labelled items are not
};

inline constexpr int kRememberedLocations = 5;

// Appends each remembered entry whose file still exists, in key order, and
// selects the first one when it is one of them.
void LoadStoreList(CSetting& settings, StoreList list, WindowControls& window,
                   std::string_view combo);
// Remembers the first five items after the prompt (for the Opera list, the
// first five that are not labelled); the other keys are emptied. False, and
// nothing written, when the window has no such combo box. The store's errors
// pass through.
bool SaveStoreList(CSetting& settings, StoreList list, const WindowControls& window,
                   std::string_view combo);

// The menu pages of "cboDHTMLLoc" (no prompt item), keys "MenuLocation0" to
// "MenuLocation4". Loading appends each entry whose file exists or could be
// created, selects nothing, and makes the first key's page, when it passes,
// the session's menu file. Saving remembers the first five items.
void LoadMenuList(CSetting& settings, WindowControls& window, SessionState& session);
bool SaveMenuList(CSetting& settings, const WindowControls& window);

} // namespace tellavin
