#pragma once

#include "model/conversion_path.h"
#include "model/outcome.h"
#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// The executable names under which each browser runs.
inline constexpr std::string_view kFirefoxProcessNames[] = {"firefox", "firefox-esr", "firefox-bin",
                                                            "firefox.exe"};
inline constexpr std::string_view kOperaProcessNames[] = {"opera", "opera.exe"};

// What the check looks at: the source and the target store and the
// choices of the export, filled by the caller.
struct ExportCheckInput {
    StoreLocation source{StoreKind::Favorites, {}};
    StoreLocation target{StoreKind::Netscape, {}};
    bool merge = false;                 // merging into the destination is chosen and offered
    bool intoExistingSubfolder = false; // the export goes into an existing Favorites sub-folder
    std::string existingSubfolder;      // that sub-folder, relative to the Favorites folder
};

// Checks, in order, that the source exists and is a file or a folder (no
// pipe or device), then (unless sourceOnly) that the destination is not the
// source itself (the same file, whichever path or link names it), is no
// pipe or device, is no browser's own database, exists or can be written
// and is not read-only, and, when the destination lies in Firefox's or
// Opera's own folders (LiesInFirefoxFolders, LiesInOperaFolders), that this
// browser does not run. A Chromium-family profile as the destination needs
// its folder, a store that is not read-only, and no browser holding the
// profile (ChromiumRunsOnProfile). Nothing when the export (or, with sourceOnly, the
// selection) may go on; otherwise the first refusal, with the request's
// kinds of store. A running-browser check that cannot be made refuses too.
std::optional<Outcome> CheckBeforeExport(const ExportCheckInput& input, bool sourceOnly,
                                         const Platform& platform);

} // namespace tellavin
