#include "cli/convert_command.h"

#include "cli/export_check.h"
#include "cli/store_argument.h"
#include "model/bookmark_tree.h"
#include "platform/file_checks.h"
#include "sources/source_loader.h"
#include "targets/backup_copy.h"
#include "targets/favorites_writer.h"
#include "targets/netscape_writer.h"
#include "targets/opera_writer.h"
#include "text/replace_all.h"

#include <ostream>
#include <vector>

namespace tellavin::cli {

namespace {

struct ExportOutcome {
    bool written = false; // the target holds the export
    std::string message;  // why nothing was written, or what the export misses
    std::int32_t folders = 0;
    std::int32_t links = 0;
};

using Exporter = ExportOutcome (*)(BookmarkTree& tree, const std::string& path,
                                   const ConvertRequest& request, const Platform& platform);

ExportOutcome ExportToNetscape(BookmarkTree& tree, const std::string& path,
                               const ConvertRequest& request, const Platform& platform) {
    NetscapeWriterOptions options;
    options.merge = request.merge;
    options.newFolder = request.newFolder;
    options.linksBefore = request.linksFirst;
    options.profileName = request.profile ? *request.profile : platform.GetCurrentUserName();
    auto result = PrintBookmarkFile(tree, path, options);
    return {result.ok, result.message, result.folders, result.links};
}

// A writer's result as one line: the lines of a refusal or failure joined,
// or what a partial export misses.
ExportOutcome OutcomeOf(const ExportResult& result) {
    if (!result.ok) {
        auto message = result.message;
        ReplaceAll(message, "\r\n", " ");
        return {false, message, 0, 0};
    }
    std::string missing = result.sFirstFailure;
    if (result.nLinksNotWritten > 0) {
        missing = std::to_string(result.nLinksNotWritten) +
                  " links could not be written; the first: " + result.sFirstFailure;
    }
    return {true, missing, result.nFoldersWritten, result.nLinksWritten};
}

ExportOutcome ExportToOpera(BookmarkTree& tree, const std::string& path,
                            const ConvertRequest& request, const Platform&) {
    OperaWriteOptions options;
    options.merge = request.merge;
    options.inNewFolder = request.newFolder.has_value();
    options.newFolderName = request.newFolder.value_or("");
    options.links =
        request.linksFirst ? LinksPlacement::BeforeFolders : LinksPlacement::AfterFolders;
    NullProgress progress;
    return OutcomeOf(PrintHotlistFile(tree, path, options, progress));
}

ExportOutcome ExportIntoFavorites(BookmarkTree& tree, const std::string& path,
                                  const ConvertRequest& request, const Platform&) {
    FavoritesWriteOptions options;
    if (request.newFolder) {
        options.where = FavoritesPlace::NewFolder;
        options.newFolderName = *request.newFolder;
    } else if (request.existingFolder) {
        options.where = FavoritesPlace::ExistingFolder;
        options.existingFolder = *request.existingFolder;
    }
    NullProgress progress;
    return OutcomeOf(ExportToFavorites(tree, path, options, progress));
}

// The writer of each kind of target.
struct TargetWriter {
    StoreKind kind;
    Exporter exporter;
};
constexpr TargetWriter kTargetWriters[] = {
    {StoreKind::Netscape, ExportToNetscape},
    {StoreKind::Opera, ExportToOpera},
    {StoreKind::Favorites, ExportIntoFavorites},
};

// The options given that a target of this kind has no use for: a Favorites
// folder is neither merged, ordered nor backed up, only a bookmark file has
// a profile name in its title, only a Favorites folder has existing
// sub-folders to export into.
std::vector<std::string> OptionsNotFor(StoreKind kind, const ConvertRequest& request) {
    std::vector<std::string> options;
    auto note = [&](bool given, const char* name) {
        if (given) {
            options.emplace_back(name);
        }
    };
    note(kind == StoreKind::Favorites && request.merge, "--merge");
    note(kind == StoreKind::Favorites && request.linksFirst, "--links-first");
    note(kind == StoreKind::Favorites && request.backup, "--backup");
    note(kind != StoreKind::Netscape && request.profile.has_value(), "--profile");
    note(kind != StoreKind::Favorites && request.existingFolder.has_value(), "--existing-folder");
    return options;
}

Exporter ExporterFor(StoreKind kind) {
    for (const auto& writer : kTargetWriters) {
        if (writer.kind == kind) {
            return writer.exporter;
        }
    }
    return nullptr;
}

} // namespace

int RunConvert(const ConvertRequest& request, std::ostream& out, std::ostream& err,
               const Platform& platform) {
    auto source = StoreArgument(request.source, err);
    auto target = StoreArgument(request.target, err);
    if (!source || !target) {
        return 2;
    }
    if (!ConversionPathFor(source->kind, target->kind)) {
        err << "tellavin-cli: there is no conversion from " << StoreKindName(source->kind) << " to "
            << StoreKindName(target->kind) << "\n";
        return 2;
    }
    auto exporter = ExporterFor(target->kind);
    if (exporter == nullptr) {
        err << "tellavin-cli: writing " << StoreKindName(target->kind)
            << " stores is not available\n";
        return 2;
    }
    if (auto unused = OptionsNotFor(target->kind, request); !unused.empty()) {
        err << "tellavin-cli: " << unused.front() << " does not apply to a "
            << StoreKindName(target->kind) << " target\n";
        return 2;
    }
    auto check = CheckInputFor(*source, *target);
    check.merge = request.merge;
    check.intoExistingSubfolder = request.existingFolder.has_value();
    check.existingSubfolder = request.existingFolder.value_or("");
    if (!PassesExportChecks(check, platform, err)) {
        return 1;
    }
    BookmarkTree tree;
    if (!LoadStoreTree(*source, tree, err)) {
        return 1;
    }
    if (request.backup && FileExists(target->path) && !MakeBackupCopy(target->path)) {
        err << "tellavin-cli: could not make the backup copy " << BackupPathFor(target->path)
            << "\n";
    }
    auto outcome = exporter(tree, target->path, request, platform);
    if (!outcome.written) {
        err << "tellavin-cli: " << outcome.message << "\n";
        return 1;
    }
    out << outcome.folders << " Folders & " << outcome.links << " Links Exported Successfully.\n";
    if (!outcome.message.empty()) {
        err << "tellavin-cli: " << outcome.message << "\n";
        return 1;
    }
    return 0;
}

} // namespace tellavin::cli
