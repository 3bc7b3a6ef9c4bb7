#include "conversion/export_checks.h"

#include "platform/file_checks.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/running_process.h"
#include "sources/browser_folders.h"
#include "sources/browser_store.h"

#include <span>

namespace tellavin {

namespace {

ExportRefusal Refuse(std::string title, std::vector<std::string> lines) {
    return ExportRefusal{
        UserMessage{std::move(title), std::move(lines), MessageIcon::Exclamation}, {}, {}};
}

ExportRefusal BookmarkFileGone() {
    return Refuse("Bookmark File Does Not Exist",
                  {"The Selected Bookmark File Does Not Exist Anymore.",
                   "Please, Select Another Bookmark File."});
}

// The location list that holds the source file: the window that exports
// from one bookmark file into another keeps it apart from the
// destination's list.
const char* SourceListOf(const ExportCheckInput& input) {
    return IsBookmarkFileKind(input.source.kind) && IsBookmarkFileKind(input.target.kind)
               ? kSourceListControl
               : kDestinationListControl;
}

std::optional<ExportRefusal> CheckSource(const ExportCheckInput& input) {
    if (IsBookmarkFileKind(input.source.kind) && IsSpecialFile(input.source.path)) {
        auto refusal = Refuse(
            "Bookmark File Cannot Be Read",
            {input.source.path, "The Selected Bookmark File Cannot Be Read.", kNotARegularFile});
        refusal.focus = SourceListOf(input);
        return refusal;
    }
    if (input.source.kind == StoreKind::Favorites) {
        if (!FolderExists(input.source.path)) {
            return Refuse("Selected Folder Does Not Exist", {"The Selected Folder Does Not Exist.",
                                                             "Please, Select Another Folder."});
        }
    } else if (IsBookmarkFileKind(input.source.kind) && !FileExists(input.source.path)) {
        auto refusal = BookmarkFileGone();
        refusal.focus = SourceListOf(input);
        refusal.resets = {refusal.focus, true, kNothingToExportCaption};
        return refusal;
    }
    return std::nullopt;
}

// The list that names the target of the export.
const char* TargetListOf(const ExportCheckInput& input) {
    return input.target.kind == StoreKind::Menu ? kMenuListControl : kDestinationListControl;
}

// A target that is the source itself, by whatever path or link it is
// named, would be replaced by its own export: a menu page over the
// bookmark file it shows, a hotlist by its Netscape-format copy.
std::optional<ExportRefusal> CheckTargetIsNotTheSource(const ExportCheckInput& input) {
    auto source = IdentifyFile(input.source.path);
    if (!source || source != IdentifyFile(input.target.path)) {
        return std::nullopt;
    }
    auto refusal = Refuse("Source and Destination Are the Same",
                          {input.target.path, "The Selected Destination Is the Source Itself.",
                           "Please, Select Another Destination."});
    refusal.focus = TargetListOf(input);
    return refusal;
}

// A pipe, a socket or a device in the target's place is never replaced,
// nor read to merge into.
std::optional<ExportRefusal> CheckTargetIsNoSpecialFile(const ExportCheckInput& input) {
    if (input.target.kind == StoreKind::Favorites || !IsSpecialFile(input.target.path)) {
        return std::nullopt;
    }
    auto refusal = Refuse("Warning", {input.target.path, "The Selected Destination Is Not a File.",
                                      "Please, Select Another Destination."});
    refusal.focus = TargetListOf(input);
    return refusal;
}

std::optional<ExportRefusal> CheckFavoritesTarget(const ExportCheckInput& input) {
    if (!FolderExists(input.target.path)) {
        return Refuse("Selected Subfolder Does Not Exist",
                      {"The Selected Folder Where To Export The Bookmarks",
                       "Does Not Exist Anymore. Please, Change Selection."});
    }
    if (input.intoExistingSubfolder &&
        !FolderExists(input.target.path + PathSeparator() + input.existingSubfolder)) {
        return Refuse("Selected Subfolder Does Not Exist",
                      {"The Selected Subfolder Where To Export The Bookmarks",
                       "Does Not Exist Anymore. Please, Change Selection."});
    }
    return std::nullopt;
}

std::optional<ExportRefusal> CheckFileTarget(const ExportCheckInput& input) {
    const auto& file = input.target.path;
    if (FileExists(file) && DetectBrowserStore(file) != BrowserStore::None) {
        auto refusal = Refuse("Browser Database", {kBrowserStoreNotWritable});
        refusal.focus = kDestinationListControl;
        return refusal;
    }
    if (IsReadOnly(file)) {
        return Refuse("Read-Only Bookmark File",
                      {"The Selected Bookmark File is Read-Only.",
                       "Please, Select Another Bookmark File or Change Attribute."});
    }
    if (input.merge && !FileExists(file)) {
        auto refusal = BookmarkFileGone();
        refusal.focus = kDestinationListControl;
        refusal.resets = {kDestinationListControl, true, {}};
        return refusal;
    }
    if (!PathExists(file)) {
        auto refusal =
            Refuse("Warning", {file, "The Path of the Selected Bookmark File Does Not Exists.",
                               "Please, Select Another Destination."});
        refusal.focus = kDestinationListControl;
        return refusal;
    }
    return std::nullopt;
}

std::optional<ExportRefusal> CheckMenuTarget(const ExportCheckInput& input) {
    const auto& file = input.target.path;
    if (!PathExists(file)) {
        auto refusal =
            Refuse("Warning", {file, "The Path of the Selected DHTML Menu File Does Not Exists.",
                               "Please, Select Another Destination."});
        refusal.focus = kMenuListControl;
        return refusal;
    }
    if (IsReadOnly(file)) {
        return Refuse("Read-Only Bookmark File",
                      {"The Selected DHTML Menu File is Read-Only.",
                       "Please, Select Another Bookmark File or Change Attribute."});
    }
    return std::nullopt;
}

// Refuses when the browser runs, or when nobody can tell whether it does.
std::optional<ExportRefusal> CheckBrowser(const Platform& platform, const std::string& browser,
                                          std::span<const std::string_view> processNames) {
    auto running = IsProcessRunning(platform, processNames);
    if (!running) {
        return Refuse("Unable to Check " + browser,
                      {"Unable to find out whether the " + browser + " browser is running:",
                       "the list of running programs cannot be read.",
                       "The bookmarks are not exported to " + browser + " while this is unknown."});
    }
    if (*running) {
        return Refuse(browser + " is running",
                      {"The " + browser + " browser appears to be running.",
                       "In order to export the bookmarks to " + browser + ",",
                       "it is necessary to close all the " + browser + " browsers."});
    }
    return std::nullopt;
}

std::optional<ExportRefusal> CheckTarget(const ExportCheckInput& input) {
    if (auto refusal = CheckTargetIsNotTheSource(input)) {
        return refusal;
    }
    if (auto refusal = CheckTargetIsNoSpecialFile(input)) {
        return refusal;
    }
    switch (input.target.kind) {
    case StoreKind::Favorites:
        return CheckFavoritesTarget(input);
    case StoreKind::Netscape:
    case StoreKind::Opera:
        return CheckFileTarget(input);
    case StoreKind::Menu:
        return CheckMenuTarget(input);
    }
    return std::nullopt;
}

} // namespace

ExportCheckInput ExportCheckInputFrom(const SessionState& state) {
    ExportCheckInput input;
    auto path = FindConversionPath(state.code);
    if (!path) {
        return input;
    }
    auto pathOf = [&](StoreKind kind, const std::string& file) {
        return kind == StoreKind::Favorites ? state.favoritesFolder : file;
    };
    input.source = {path->source, pathOf(path->source, state.sourceFile)};
    input.target = {path->target, path->target == StoreKind::Menu
                                      ? state.menuFile
                                      : pathOf(path->target, state.destinationFile)};
    return input;
}

std::optional<ExportRefusal> CheckBeforeExport(const ExportCheckInput& input, bool sourceOnly,
                                               const Platform& platform) {
    if (auto refusal = CheckSource(input)) {
        return refusal;
    }
    if (sourceOnly) {
        return std::nullopt;
    }
    if (auto refusal = CheckTarget(input)) {
        return refusal;
    }
    // A running browser only matters for a file in its own folders.
    const auto& target = input.target.path;
    if (input.target.kind == StoreKind::Opera && LiesInOperaFolders(target, platform)) {
        return CheckBrowser(platform, "Opera", kOperaProcessNames);
    }
    if (input.target.kind == StoreKind::Netscape && LiesInFirefoxFolders(target, platform)) {
        return CheckBrowser(platform, "Firefox", kFirefoxProcessNames);
    }
    return std::nullopt;
}

} // namespace tellavin
