#pragma once

#include "model/conversion_path.h"
#include "model/session_state.h"
#include "model/user_message.h"
#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Controls of the export windows that a refusal names.
inline constexpr const char* kDestinationListControl = "cboNNLoc";
inline constexpr const char* kSourceListControl = "cboFromLoc";
inline constexpr const char* kMenuListControl = "cboDHTMLLoc";
inline constexpr const char* kTabStripControl = "TabStrip1";
inline constexpr const char* kWhatFrameControl = "fraWhat";
inline constexpr const char* kNothingToExportCaption = "What to Export: (0 Folders && 0 Links)";

// The executable names under which each browser runs.
inline constexpr std::string_view kFirefoxProcessNames[] = {"firefox", "firefox-esr", "firefox-bin",
                                                            "firefox.exe"};
inline constexpr std::string_view kOperaProcessNames[] = {"opera", "opera.exe"};

// What the check looks at: the source and the target store and the
// choices of the export window, filled by the caller.
struct ExportCheckInput {
    StoreLocation source{StoreKind::Favorites, {}};
    StoreLocation target{StoreKind::Netscape, {}};
    bool merge = false;                 // merging into the destination is chosen and offered
    bool intoExistingSubfolder = false; // the export goes into an existing Favorites sub-folder
    std::string existingSubfolder;      // that sub-folder, relative to the Favorites folder
};

// The stores of the open conversion path; the window's choices stay off.
ExportCheckInput ExportCheckInputFrom(const SessionState& state);

// What the window does after showing a refusal.
struct RefusalResets {
    std::string list;            // location list to empty: tool tip cleared, prompt selected
    bool selectFirstTab = false; // TabStrip1 shows its first tab
    std::string whatCaption;     // new caption of fraWhat; empty leaves it
};

// A refused export: the message to show, the control that takes the focus
// (empty for none) and the resets that follow the message.
struct ExportRefusal {
    UserMessage message;
    std::string focus;
    RefusalResets resets;
};

// Checks, in order, that the source exists and is a file or a folder (no
// pipe or device), then (unless sourceOnly) that the destination is not the
// source itself (the same file, whichever path or link names it), is no
// pipe or device, is no browser's own database, exists or can be written
// and is not read-only, and, when the destination lies in Firefox's or
// Opera's own folders (LiesInFirefoxFolders, LiesInOperaFolders), that this
// browser does not run. Nothing when the
// export (or, with sourceOnly, the selection) may go on; otherwise the
// first refusal. A running-browser check that cannot be made refuses too,
// saying so.
std::optional<ExportRefusal> CheckBeforeExport(const ExportCheckInput& input, bool sourceOnly,
                                               const Platform& platform);

} // namespace tellavin
