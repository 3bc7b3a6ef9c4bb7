#pragma once

#include "model/outcome.h"

#include <QString>

namespace tellavin {

// Controls of the export windows that a refusal names.
inline constexpr const char* kDestinationListControl = "cboNNLoc";
inline constexpr const char* kSourceListControl = "cboFromLoc";
inline constexpr const char* kMenuListControl = "cboDHTMLLoc";
inline constexpr const char* kWhatFrameControl = "fraWhat";
inline constexpr const char* kNothingToExportCaption = "What to Export: (0 Folders && 0 Links)";

// What an export window does after showing a refusal: the control that
// takes the focus (empty for none), the location list emptied (its tool tip
// cleared and its prompt selected), whether the first tab is shown, and the
// new caption of the What to Export frame (empty leaves it).
struct RefusalFocus {
    QString focus;
    QString emptiedList;
    bool showFirstTab = false;
    QString whatCaption;

    bool operator==(const RefusalFocus&) const = default;
};

// The window's answer to a refused export, by the outcome's kind and the
// kinds of store it concerns.
RefusalFocus FocusAfter(const Outcome& outcome);

} // namespace tellavin
