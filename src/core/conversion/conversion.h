#pragma once

#include "model/bookmark_tree.h"
#include "model/conversion_path.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"
#include "platform/platform.h"
#include "selection/selection_choice.h"
#include "targets/menu_page.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// The choices about the target, as an export window or the command line
// holds them: what the writer is asked for, and whether the old file is
// copied first. Each kind of target takes the ones that apply to it.
struct TargetOptions : WriteOptions {
    bool backup = false; // files: copy the old file to Backup_of_<name> first
    // Browsers: the export straight into the chosen root, not into a new
    // folder named by ImportFolderName.
    bool noNewFolder = false;
    // Everything but the writing: every check and read, and the export into
    // a copy of the target (WriteIntoCopy), so that the result counts what
    // the real run would write, join and skip; no backup, no total.
    bool dryRun = false;
    // Bookmark files: replace one even when it holds many more links than
    // the export would leave (ReplacesMuch).
    bool force = false;
};

// One conversion: from which store to which, what, and how.
struct ConversionRequest {
    StoreLocation source{StoreKind::Favorites, {}};
    StoreLocation target{StoreKind::Netscape, {}};
    // A tree the caller has already loaded from the source (the selection
    // window's, with its check marks); without one the source is loaded.
    // Everything is exported, or with options.exportAll false only the
    // tree's checked folders and links.
    BookmarkTree* tree = nullptr;
    // Chooses what of the tree is exported in place of its check marks,
    // when it chooses anything (the command line's --folder and --match).
    SelectionChoice choice;
    TargetOptions options;
    // The look of a menu page target; its totals and dates are filled in.
    MenuPageOptions menu;
};

// The options of the request that a target of this kind has no use for, by
// name ("merge", "keep-duplicates", "force", "new-folder", "existing-folder", "links-first",
// "profile", "backup", "place", "no-new-folder", "place menu"), as the kind's traits say
// (StoreKindTraits): a Favorites folder is neither merged, ordered nor backed up (but is added to,
// so it keeps duplicates when asked), only a bookmark file has a profile name in its title, only a
// Favorites folder has existing sub-folders, only a browser has roots to choose from (and only
// Firefox a bookmarks menu), and a menu page takes none of them.
std::vector<std::string_view> OptionsNotApplying(StoreKind target, const TargetOptions& options);

// The folder an export into a browser goes into unless asked otherwise,
// named after the source as the windows name theirs: "Imported from
// Opera (8 Dec 2026)".
std::string ImportFolderName(StoreKind source, std::time_t moment);

// Replacing (not merging) a bookmark file that holds more than this many
// links, and more than twice as many as the export would leave, is refused
// unless forced.
inline constexpr std::int32_t kGuardedLinks = 50;

// Whether replacing a file holding held links by an export of exported
// links is refused unless forced.
inline bool ReplacesMuch(std::int32_t held, std::int32_t exported) {
    return held > kGuardedLinks && held > 2 * static_cast<std::int64_t>(exported);
}

// What the progress shows while another export into the same folder ends.
inline constexpr const char* kWaitingForAnotherExport =
    "Waiting for another export into this folder...";

// Runs a conversion, in this order: refuses a request from a store that
// cannot be read or into one that cannot be written (CanConvert), or with
// options the target cannot take; checks that the source is
// there; loads it unless a tree is handed in, refusing one that cannot be
// read or holds no folder and no link; checks what the request's choice
// chooses, refusing a folder path the source does not hold and a match
// that finds nothing; waits for any other export into the
// target's folder, saying so; runs the export checks of the target (writable
// and not the source itself, its browser closed); refuses, unless forced,
// to replace a bookmark file by an export that would leave less than half
// its links (ReplacesMuch); makes the backup copy
// when asked and the target is a bookmark file that exists, stopping when
// it fails; names the new folder of an export into a browser; writes the
// target with the writer of its kind; and adds what was exported to the
// exported-items total. A cancel (ProgressSink::Cancelled) is looked for
// once the source is loaded, before the backup, and by the writer until it
// replaces the target: a cancelled conversion is Cancelled, its target as
// it was and no new backup beside it. The
// result's losses list what reading the source left out, then what the
// target could not hold. Relative
// paths are taken from the current folder. Every refusal or failure leaves
// the target as it was and comes back as the result's message. A dry run
// does all of this but the backup and the total, and writes the target's
// copy in a scratch folder instead of the target.
ExportResult RunConversion(const ConversionRequest& request, const Platform& platform,
                           ProgressSink& progress);

} // namespace tellavin
