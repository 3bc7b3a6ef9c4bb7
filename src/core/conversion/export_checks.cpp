#include "conversion/export_checks.h"

#include "platform/file_checks.h"
#include "platform/file_identity.h"
#include "platform/file_io.h"
#include "platform/running_process.h"
#include "sources/browser_discovery.h"
#include "sources/browser_folders.h"
#include "sources/browser_store.h"
#include "sources/chromium_profile.h"
#include "sources/store_location.h"
#include "targets/firefox_profile.h"

#include <span>

namespace tellavin {

namespace {

using Refusal = std::optional<Outcome>;

Outcome Refuse(const ExportCheckInput& input, OutcomeKind kind, std::string path) {
    return Outcome{kind, input.source.kind, input.target.kind, std::move(path), {}, {}};
}

Refusal CheckSource(const ExportCheckInput& input) {
    const auto path = StoreFileOf(input.source);
    if (input.source.kind == StoreKind::Favorites) {
        if (!FolderExists(path)) {
            return Refuse(input, OutcomeKind::SourceMissing, path);
        }
    } else if (TraitsOf(input.source.kind).readable) {
        if (IsSpecialFile(path)) {
            auto refusal = Refuse(input, OutcomeKind::SourceNotAFile, path);
            refusal.reason = kNotARegularFile;
            return refusal;
        }
        if (!FileExists(path)) {
            return Refuse(input, OutcomeKind::SourceMissing, path);
        }
    }
    return std::nullopt;
}

// A target that is the source itself, by whatever path or link it is
// named, would be replaced by its own export: a menu page over the
// bookmark file it shows, a hotlist by its Netscape-format copy. A pipe, a
// socket or a device in the target's place is never replaced, nor read to
// merge into.
Refusal CheckTargetIdentity(const ExportCheckInput& input) {
    const auto path = StoreFileOf(input.target);
    auto source = IdentifyFile(StoreFileOf(input.source));
    if (source && source == IdentifyFile(path)) {
        return Refuse(input, OutcomeKind::SameStore, path);
    }
    if (input.target.kind != StoreKind::Favorites && IsSpecialFile(path)) {
        return Refuse(input, OutcomeKind::TargetNotAFile, path);
    }
    return std::nullopt;
}

Refusal CheckFavoritesTarget(const ExportCheckInput& input) {
    if (!FolderExists(input.target.path)) {
        return Refuse(input, OutcomeKind::TargetFolderMissing, input.target.path);
    }
    auto subfolder = input.target.path + PathSeparator() + input.existingSubfolder;
    if (input.intoExistingSubfolder && !FolderExists(subfolder)) {
        return Refuse(input, OutcomeKind::SubfolderMissing, subfolder);
    }
    return std::nullopt;
}

Refusal CheckFileTarget(const ExportCheckInput& input) {
    const auto& file = input.target.path;
    if (FileExists(file) && DetectBrowserStore(file) != BrowserStore::None) {
        return Refuse(input, OutcomeKind::TargetNotAllowed, file);
    }
    if (IsReadOnly(file)) {
        return Refuse(input, OutcomeKind::TargetReadOnly, file);
    }
    if (input.merge && !FileExists(file)) {
        return Refuse(input, OutcomeKind::TargetMissing, file);
    }
    if (!PathExists(file)) {
        return Refuse(input, OutcomeKind::TargetFolderMissing, file);
    }
    return std::nullopt;
}

Refusal CheckMenuTarget(const ExportCheckInput& input) {
    const auto& file = input.target.path;
    if (!PathExists(file)) {
        return Refuse(input, OutcomeKind::TargetFolderMissing, file);
    }
    if (IsReadOnly(file)) {
        return Refuse(input, OutcomeKind::TargetReadOnly, file);
    }
    return std::nullopt;
}

// Refuses when the browser runs, or when nobody can tell whether it does.
// Refuses while a browser runs (runs is true) or while nobody can tell
// (runs is empty), naming the path and the browser, which browserName()
// gives only then.
template <typename BrowserName>
Refusal RefusalWhileRunning(const ExportCheckInput& input, std::optional<bool> runs,
                            std::string path, BrowserName browserName) {
    if (runs && !*runs) {
        return std::nullopt;
    }
    auto refusal =
        Refuse(input, runs ? OutcomeKind::BrowserRunning : OutcomeKind::BrowserStateUnknown,
               std::move(path));
    refusal.subject = browserName();
    return refusal;
}

Refusal CheckBrowser(const ExportCheckInput& input, const Platform& platform,
                     const std::string& browser, std::span<const std::string_view> processNames) {
    return RefusalWhileRunning(input, IsProcessRunning(platform, processNames), input.target.path,
                               [&] { return browser; });
}

// An export into a Chromium-family profile needs the profile's folder, a
// store that may be written, and no browser holding the profile: it would
// overwrite the file with what it holds in memory.
Refusal CheckChromiumTarget(const ExportCheckInput& input, const Platform& platform) {
    auto store = ChromiumBookmarksOf(input.target.path);
    if (!FolderExists(store.profileFolder)) {
        return Refuse(input, OutcomeKind::TargetFolderMissing, store.profileFolder);
    }
    if (IsReadOnly(store.bookmarksFile)) {
        return Refuse(input, OutcomeKind::TargetReadOnly, store.bookmarksFile);
    }
    return RefusalWhileRunning(
        input, ChromiumRunsOnProfile(store.profileFolder), store.profileFolder, [&] {
            return IdentifyBrowserProfile(StoreKind::Chromium, store.profileFolder, platform)
                .browser;
        });
}

// An export into a Firefox profile adds to its database, which must be
// there and writable, while no Firefox holds the profile.
Refusal CheckFirefoxTarget(const ExportCheckInput& input) {
    const auto database = StoreFileOf(input.target);
    if (!FileExists(database)) {
        return Refuse(input, OutcomeKind::TargetMissing, database);
    }
    if (IsReadOnly(database)) {
        return Refuse(input, OutcomeKind::TargetReadOnly, database);
    }
    auto runs = FirefoxRunsOnProfile(Utf8FromPath(PathFromUtf8(database).parent_path()));
    return RefusalWhileRunning(input, runs, database, [] { return std::string("Firefox"); });
}

Refusal CheckTarget(const ExportCheckInput& input) {
    if (auto refusal = CheckTargetIdentity(input)) {
        return refusal;
    }
    switch (input.target.kind) {
    case StoreKind::Favorites:
        return CheckFavoritesTarget(input);
    case StoreKind::Netscape:
    case StoreKind::Opera:
    case StoreKind::Xbel:
        return CheckFileTarget(input);
    case StoreKind::Menu:
        return CheckMenuTarget(input);
    default:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<Outcome> CheckBeforeExport(const ExportCheckInput& input, bool sourceOnly,
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
    if (input.target.kind == StoreKind::Chromium) {
        return CheckChromiumTarget(input, platform);
    }
    if (input.target.kind == StoreKind::Firefox) {
        return CheckFirefoxTarget(input);
    }
    // A running browser only matters for a file in its own folders.
    const auto& target = input.target.path;
    if (input.target.kind == StoreKind::Opera && LiesInOperaFolders(target, platform)) {
        return CheckBrowser(input, platform, "Opera", kOperaProcessNames);
    }
    if (input.target.kind == StoreKind::Netscape && LiesInFirefoxFolders(target, platform)) {
        return CheckBrowser(input, platform, "Firefox", kFirefoxProcessNames);
    }
    return std::nullopt;
}

} // namespace tellavin
