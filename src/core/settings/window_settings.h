#pragma once

#include "model/session_state.h"
#include "platform/platform.h"
#include "settings/color_preset_list.h"
#include "settings/window_controls.h"

#include <cstdint>
#include <string>

namespace tellavin {

// Every window restores its place and options when it loads and saves them
// when it closes, in sections "Position" and "Settings" of the settings file.
//
// The window kind says which keys a window has: 1 the main window, 3 the
// selection window, otherwise the conversion path the export window runs (2
// to 11). Positions are kept in twips; all export windows share one.
//
// Controls by kind (see WindowControls for how they are named):
//   2, 7    txtIELoc, chkBackup, chkSkipThere, chkLinksBefore, chkKeepOrder,
//           optOldErase, optOldMerge, optWhere(0), optWhere(1), optPlace(0) to
//           optPlace(2) (the root of a browser's profile), cboNNLoc
//   4, 9    txtIELoc, chkKeepOrder, chkSkipThere, NNoptWhere(0), NNoptWhere(1),
//           cboNNLoc
//   8, 10   chkBackup, chkSkipThere, chkLinksBefore, chkKeepOrder, optOldErase,
//           optOldMerge, optWhere(0), optWhere(1), optPlace(0) to optPlace(2),
//           cboNNLoc, cboFromLoc
//   5       txtIELoc, then as 6 without cboNNLoc
//   6, 11   cboNNLoc, cboDHTMLLoc, chkOpenNew, chkShowUrl, chkVertical,
//           chkShadows, chkShowStatistics, txtPageTitle, chkMaxItems,
//           txtMaxItems, chkShowBrowser, chkKeepOrder, and the window's colour
//           presets
// Store lists: cboNNLoc holds Netscape-format files on kinds 2, 4, 6 and 10,
// Opera hotlists on 7, 9, 11 and 8; cboFromLoc the other kind on 8 and 10.

// Restores a window: its position (and, for the selection window, its size)
// placed onto the screen, then its options and remembered locations. The
// remembered Favorites folder becomes the session's when the folder exists;
// the first remembered menu page becomes the session's menu file. The menu
// windows (5, 6, 11) also bring the presets file up to date, load their
// presets and select the remembered one; a menu window passes its preset
// list for that, and without one its presets are neither loaded nor
// remembered. Every value that cannot be read leaves its control as it was,
// and the rest still loads.
void LoadWindowSettings(std::int32_t kind, WindowControls& window, const Platform& platform,
                        SessionState& session, PresetList* presets = nullptr);

struct SettingsSaveResult {
    bool ok = true;
    std::string message; // what stopped the save
};

// Saves a window's position, options and location lists. Stops at the first
// failure (the settings file cannot be written, or the window lacks a
// control it should have) and says why; the values saved before it stay.
// A position beyond the 16-bit range is saved as the nearest value in range;
// a "txtMaxItems" text that is no whole number keeps the saved "BreakAfter".
// A kind that names no window saves nothing and says so.
SettingsSaveResult SaveWindowSettings(std::int32_t kind, const WindowControls& window,
                                      const Platform& platform,
                                      const PresetList* presets = nullptr);

} // namespace tellavin
