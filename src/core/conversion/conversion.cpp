#include "conversion/conversion.h"

#include "conversion/export_checks.h"
#include "conversion/target_writer.h"
#include "model/bookmark_counts.h"
#include "model/folder_walk.h"
#include "platform/file_checks.h"
#include "platform/file_io.h"
#include "platform/folder_lock.h"
#include "platform/local_time.h"
#include "platform/scratch_folder.h"
#include "settings/exported_total.h"
#include "sources/browser_discovery.h"
#include "sources/browser_folders.h"
#include "sources/source_loader.h"
#include "sources/store_location.h"
#include "targets/backup_copy.h"
#include "targets/folder_links.h"

#include <ctime>
#include <filesystem>

namespace tellavin {

namespace {

// The windows always hold absolute paths; a relative one names a file in
// the current folder, which the checks would not find.
StoreLocation MadeAbsolute(StoreLocation location) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(PathFromUtf8(location.path), error);
    if (!location.path.empty() && !error) {
        location.path = Utf8FromPath(absolute);
    }
    return location;
}

// Whether a target holds the icons links bring. A bookmark file carries
// each one; a browser keeps its own icons in a store of its own, which no
// export writes, and the other targets have no place for them.
bool HoldsLinkIcons(StoreKind target) {
    return target == StoreKind::Netscape;
}

Outcome RefusalFor(const ConversionRequest& request, OutcomeKind kind, std::string path = {}) {
    return Outcome{kind, request.source.kind, request.target.kind, std::move(path), {}, {}};
}

std::optional<Outcome> RefusalOfRequest(const ConversionRequest& request) {
    if (!CanConvert(request.source.kind, request.target.kind)) {
        return RefusalFor(request, OutcomeKind::NoConversion, request.target.path);
    }
    auto unused = OptionsNotApplying(request.target.kind, request.options);
    if (!unused.empty()) {
        auto refusal = RefusalFor(request, OutcomeKind::OptionNotApplying, request.target.path);
        refusal.subject = unused.front();
        return refusal;
    }
    return std::nullopt;
}

// The export checks, of the source alone or of the source and the target.
std::optional<Outcome> RefusalOfChecks(const ConversionRequest& request, bool sourceOnly,
                                       const Platform& platform) {
    ExportCheckInput input;
    input.source = request.source;
    input.target = request.target;
    input.merge = request.options.merge;
    input.intoExistingSubfolder = request.options.existingFolder.has_value();
    input.existingSubfolder = request.options.existingFolder.value_or("");
    return CheckBeforeExport(input, sourceOnly, platform);
}

// The backup copy of a file target that exists; a failed copy stops the
// export, so the file the user wanted kept is never replaced without one.
std::optional<Outcome> FailureOfBackup(const ConversionRequest& request) {
    const auto& target = request.target.path;
    if (!request.options.backup || !IsBookmarkFileKind(request.target.kind) ||
        !FileExists(target)) {
        return std::nullopt;
    }
    auto copied = MakeBackupCopy(target);
    if (copied.ok) {
        return std::nullopt;
    }
    auto failure = RefusalFor(request, OutcomeKind::BackupFailed, BackupPathFor(target));
    failure.reason = copied.message;
    return failure;
}

// A conversion the user cancelled stops between its steps: nothing was
// written yet.
std::optional<Outcome> RefusalOfCancel(const ConversionRequest& request,
                                       const ProgressSink& progress) {
    if (!progress.Cancelled()) {
        return std::nullopt;
    }
    return RefusalFor(request, OutcomeKind::Cancelled, request.target.path);
}

// A write cancelled after the backup copy was made left the target as it
// was, so the copy it made goes too. A copy that was there before the
// export was replaced by one of the target as it still is, which is what
// a backup of it holds, and stays.
void RemoveNewBackup(const ConversionRequest& request, bool backupWasThere) {
    if (!request.options.backup || backupWasThere || !IsBookmarkFileKind(request.target.kind)) {
        return;
    }
    std::error_code ignored;
    std::filesystem::remove(PathFromUtf8(BackupPathFor(request.target.path)), ignored);
}

std::optional<Outcome> RefusalOfSource(const ConversionRequest& request, BookmarkTree& tree,
                                       ProgressSink& progress) {
    // Icons are read only for a target that holds them: reading leaves them
    // out, and notes them, otherwise.
    tree.SetKeepIcons(HoldsLinkIcons(request.target.kind));
    auto read = LoadSourceTree(request.source, tree, &progress);
    if (read && HoldsAnyBookmark(tree)) {
        return std::nullopt;
    }
    auto refusal =
        RefusalFor(request, read.kind == OutcomeKind::Done ? OutcomeKind::SourceEmpty : read.kind,
                   request.source.path);
    refusal.reason = read.reason;
    return refusal;
}

// Checks what the request's choice chooses, so that only that is exported.
std::optional<Outcome> RefusalOfChoice(ConversionRequest& request, ProgressSink& progress) {
    auto applied = ApplyChoice(*request.tree, request.choice, progress);
    if (applied.kind == OutcomeKind::Done) {
        request.options.exportAll = false;
        return std::nullopt;
    }
    auto refusal = RefusalFor(request, applied.kind, request.source.path);
    refusal.subject = std::move(applied.subject);
    return refusal;
}

// Fills what a menu page tells about its making: the totals counted in the
// source and the date, unless the caller gave them.
void CompleteMenuOptions(MenuPageOptions& menu, BookmarkTree& tree) {
    auto counts = CountBookmarks(tree);
    menu.nSourceFolders = counts.folders;
    menu.nSourceLinks = counts.links;
    auto now = std::time(nullptr);
    if (menu.sCreatedDateTime.empty()) {
        menu.sCreatedDateTime = LocalTimeText(now, "%x %X");
    }
    if (menu.sCreatedDate.empty()) {
        menu.sCreatedDate = LocalTimeText(now, "%x");
    }
}

// What the exported-items total grows by: a menu page's item lines, the
// folders and links written otherwise.
std::int32_t ExportedItems(StoreKind target, const ExportResult& result) {
    return target == StoreKind::Menu ? result.nMenuItems
                                     : result.nFoldersWritten + result.nLinksWritten;
}

// The folder whose lock keeps two exports into one target apart: a
// Favorites folder itself, the folder that holds any other target (for a
// browser, the file of its store: StoreFileOf). Links
// are followed first, so that exports naming one file through different
// links or spellings meet at the folder where the file is replaced.
std::string FolderToLock(const StoreLocation& target) {
    const auto path = PathFromUtf8(StoreFileOf(target));
    std::error_code error;
    auto resolved = std::filesystem::weakly_canonical(path, error);
    if (error) {
        resolved = path;
    }
    return Utf8FromPath(target.kind == StoreKind::Favorites ? resolved : resolved.parent_path());
}

// What an export into a browser's profile did and what the user does next:
// 'Added to Other bookmarks › Imported from Opera (8 Dec 2026) in Chrome's
// profile "Work". Start Chrome to see them.', and where the store as it was
// is kept.
std::vector<std::string> BrowserAdvice(const ConversionRequest& request, const ExportResult& result,
                                       const Platform& platform) {
    auto where = result.sPlaceName;
    if (!result.sNewFolder.empty()) {
        where += " \u203A " + result.sNewFolder;
    }
    auto folder = Utf8FromPath(PathFromUtf8(StoreFileOf(request.target)).parent_path());
    auto profile = IdentifyBrowserProfile(request.target.kind, folder, platform);
    std::vector<std::string> advice{"Added to " + where + " in " + profile.browser +
                                    "'s profile \"" + profile.profile + "\". Start " +
                                    profile.browser + " to see them."};
    if (!result.sBackupPath.empty()) {
        advice.push_back("The bookmarks as they were are kept in \"" + result.sBackupPath + "\".");
    }
    return advice;
}

// Counts the links an export writes, those of every written folder, and
// notes each of them that shows an icon of its store.
class ExportedLinkCount final : public FolderVisitor {
public:
    ExportedLinkCount(const BookmarkTree& tree, bool exportAll)
        : tree_(tree), exportAll_(exportAll) {}
    void Enter(std::int32_t folder, bool) override {
        for (auto row : GetFolderLinkRows(tree_, folder, exportAll_)) {
            ++links;
            const auto& link = tree_.EntryTable[static_cast<std::size_t>(row)];
            if (link.nIcon >= image::kFirstLinkIcon) {
                withIcons.Note(LossKind::IconDropped, std::string(link.sName));
            }
        }
    }
    void Leave(std::int32_t, bool) override {}

    std::int32_t links = 0;
    LossReport withIcons;

private:
    const BookmarkTree& tree_;
    bool exportAll_;
};

// A number with its thousands set apart: "5,214".
std::string GroupedNumber(std::int32_t number) {
    auto digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// Replacing a bookmark file by an export that would leave less than half
// its links (ReplacesMuch) is refused unless forced, before the backup, so
// that a refusal writes nothing at all. A file that reads as holding no
// link is not guarded.
std::optional<Outcome> RefusalOfReplacing(const ConversionRequest& request) {
    const auto& options = request.options;
    if (options.force || options.merge || !IsBookmarkFileKind(request.target.kind) ||
        !FileExists(request.target.path)) {
        return std::nullopt;
    }
    BookmarkTree held;
    LoadSourceTree(request.target, held);
    auto heldLinks = HoldsAnyBookmark(held) ? CountBookmarks(held).links : 0;
    ExportedLinkCount exported(*request.tree, options.exportAll);
    ExportResult unused;
    NullProgress quiet;
    WalkExportedFolders(*request.tree, options.exportAll, exported, unused, quiet);
    if (!ReplacesMuch(heldLinks, exported.links)) {
        return std::nullopt;
    }
    auto refusal = RefusalFor(request, OutcomeKind::ReplacesLarger, request.target.path);
    refusal.subject = "holds " + GroupedNumber(heldLinks) + " links; the export would leave " +
                      GroupedNumber(exported.links);
    return refusal;
}

// The icons of the exported links, for a target that cannot hold them, in
// a tree whose icons were kept (the selection window's).
ExportResult WithIconLosses(ExportResult result, const ConversionRequest& request) {
    auto& tree = *request.tree;
    if (HoldsLinkIcons(request.target.kind) || tree.LinkIconCount() == 0) {
        return result;
    }
    ExportedLinkCount exported(tree, request.options.exportAll);
    ExportResult unused;
    NullProgress quiet;
    WalkExportedFolders(tree, request.options.exportAll, exported, unused, quiet);
    result.losses.Add(exported.withIcons);
    return result;
}

// What reading left out comes first, then what the target could not hold.
ExportResult WithReadLosses(ExportResult result, const BookmarkTree& tree) {
    auto losses = tree.ReadLosses;
    losses.Add(result.losses);
    result.losses = std::move(losses);
    return result;
}

// Copies what the target holds into the scratch folder, as the writer of
// its kind will find it there: a Favorites folder with everything below
// it, a browser's store file (with a database's write-ahead log), any other
// target's file (a new target has nothing to copy). The copy's path, or why it could not be made.
std::optional<std::string> CopyOfTarget(const StoreLocation& target, ScratchFolder& scratch,
                                        std::string& failure) {
    std::error_code error;
    if (target.kind == StoreKind::Favorites) {
        auto copy = scratch.PathOf("Favorites");
        std::filesystem::copy(PathFromUtf8(target.path), copy,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::copy_symlinks,
                              error);
        failure = error ? "cannot copy \"" + target.path + "\": " + error.message() : "";
        return error ? std::nullopt : std::optional(Utf8FromPath(copy));
    }
    // A database's write-ahead log holds part of it until it is written back.
    auto file = StoreFileOf(target);
    auto name = Utf8FromPath(PathFromUtf8(file).filename());
    for (const std::string suffix : {"", "-wal"}) {
        if (!FileExists(file + suffix)) {
            continue;
        }
        if (auto copied = scratch.CopyIn(file + suffix, name + suffix)) {
            failure = copied->reason;
            return std::nullopt;
        }
    }
    return Utf8FromPath(scratch.PathOf(name));
}

// A dry run's export: into a copy of the target in a scratch folder,
// removed afterwards, so that the target is never touched and the counts
// are the real run's.
ExportResult WriteIntoCopy(BookmarkTree& tree, ConversionRequest request, ProgressSink& progress) {
    ScratchFolder scratch;
    std::string failure = scratch.Failure();
    auto copy = failure.empty() ? CopyOfTarget(request.target, scratch, failure) : std::nullopt;
    if (!copy) {
        return ExportResult::Failed({"Error", {"Cannot try the export on a copy:", failure}});
    }
    request.target.path = *copy;
    return WriteTarget(tree, request, progress);
}

ExportResult Convert(ConversionRequest request, const Platform& platform, ProgressSink& progress) {
    if (auto refusal = RefusalOfRequest(request)) {
        return ExportResult::Refused(*refusal);
    }
    // The target is looked at only under the lock below: on Windows a file
    // that another export has open, even only to tell what it is, cannot be
    // replaced, so that export's write would fail.
    if (auto refusal = RefusalOfChecks(request, true, platform)) {
        return ExportResult::Refused(*refusal);
    }
    BookmarkTree loaded;
    if (request.tree == nullptr) {
        if (auto refusal = RefusalOfSource(request, loaded, progress)) {
            return ExportResult::Refused(*refusal);
        }
        request.tree = &loaded;
    }
    if (!request.choice.Empty()) {
        if (auto refusal = RefusalOfChoice(request, progress)) {
            return ExportResult::Refused(*refusal);
        }
    }
    if (auto refusal = RefusalOfCancel(request, progress)) {
        return ExportResult::Refused(*refusal);
    }
    // From the checks of the target to the replaced target no other export
    // may touch it: a merge that read the file before another one replaced
    // it would drop that one's links. The lock is taken once the source is
    // read, so a source that is slow to read keeps no other export waiting.
    FolderLock lock(FolderToLock(request.target), [&] {
        progress.SetStatusText(kWaitingForAnotherExport);
        progress.ShowNow();
    });
    if (auto refusal = RefusalOfChecks(request, false, platform)) {
        return ExportResult::Refused(*refusal);
    }
    if (auto refusal = RefusalOfReplacing(request)) {
        return ExportResult::Refused(*refusal);
    }
    if (auto refusal = RefusalOfCancel(request, progress)) {
        return ExportResult::Refused(*refusal);
    }
    const bool backupWasThere = FileExists(BackupPathFor(request.target.path));
    if (auto failure = request.options.dryRun ? std::nullopt : FailureOfBackup(request)) {
        return ExportResult::Refused(*failure);
    }
    if (request.target.kind == StoreKind::Menu) {
        CompleteMenuOptions(request.menu, *request.tree);
    }
    // An export into a browser goes into a folder of its own unless asked
    // otherwise.
    if (IsBrowserStoreKind(request.target.kind) && !request.options.newFolder &&
        !request.options.noNewFolder) {
        request.options.newFolder = ImportFolderName(request.source.kind, std::time(nullptr));
    }
    // A bookmark file's title names the user when no profile is given.
    if (request.target.kind == StoreKind::Netscape && !request.options.profileName) {
        request.options.profileName = platform.GetCurrentUserName();
    }
    auto result = request.options.dryRun ? WriteIntoCopy(*request.tree, request, progress)
                                         : WriteTarget(*request.tree, request, progress);
    if (result.outcome.kind == OutcomeKind::Cancelled) {
        RemoveNewBackup(request, backupWasThere);
        return ExportResult::Refused(
            RefusalFor(request, OutcomeKind::Cancelled, request.target.path));
    }
    if (!result.ok) {
        // The writer's message tells what failed; the outcome names the target.
        result.outcome = RefusalFor(request, OutcomeKind::WriteFailed, request.target.path);
        return result;
    }
    result = WithIconLosses(std::move(result), request);
    if (request.options.dryRun) {
        return WithReadLosses(std::move(result), *request.tree);
    }
    AddToExportedTotal(platform, ExportedItems(request.target.kind, result));
    if (request.target.kind == StoreKind::Netscape) {
        result.advice = FirefoxImportAdvice(request.target.path, platform);
    }
    if (IsBrowserStoreKind(request.target.kind)) {
        auto advice = BrowserAdvice(request, result, platform);
        result.advice.insert(result.advice.begin(), advice.begin(), advice.end());
    }
    return WithReadLosses(std::move(result), *request.tree);
}

} // namespace

std::vector<std::string_view> OptionsNotApplying(StoreKind target, const TargetOptions& options) {
    const auto& takes = TraitsOf(target);
    std::vector<std::string_view> names;
    auto note = [&](bool given, bool taken, std::string_view name) {
        if (given && !taken) {
            names.push_back(name);
        }
    };
    note(options.merge, takes.merges, "merge");
    note(options.keepDuplicates, takes.merges || target == StoreKind::Favorites, "keep-duplicates");
    note(options.force, IsBookmarkFileKind(target), "force");
    note(options.newFolder.has_value(), takes.takesNewFolder, "new-folder");
    note(options.existingFolder.has_value(), takes.takesSubfolder, "existing-folder");
    note(options.links != LinksPlacement::AfterFolders, takes.takesLinksFirst, "links-first");
    note(options.profileName.has_value(), takes.takesProfileName, "profile");
    note(options.backup, takes.backsUp, "backup");
    note(options.place != BrowserRoot::Other, takes.takesPlace, "place");
    note(options.noNewFolder, takes.takesPlace, "no-new-folder");
    // Only Firefox has a bookmarks menu.
    note(options.place == BrowserRoot::Menu, target != StoreKind::Chromium, "place menu");
    return names;
}

std::string ImportFolderName(StoreKind source, std::time_t moment) {
    auto date = LocalTimeText(moment, "%d %b %Y");
    if (date.starts_with('0')) {
        date.erase(0, 1);
    }
    return "Imported from " + std::string(TraitsOf(source).importName) + " (" + date + ")";
}

ExportResult RunConversion(const ConversionRequest& request, const Platform& platform,
                           ProgressSink& progress) {
    auto absolute = request;
    absolute.source = MadeAbsolute(request.source);
    absolute.target = MadeAbsolute(request.target);
    ProgressStart(progress, 0);
    auto result = Convert(std::move(absolute), platform, progress);
    ProgressEnd(progress, 0);
    return result;
}

} // namespace tellavin
