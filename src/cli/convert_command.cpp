#include "cli/convert_command.h"

#include "cli/export_check.h"
#include "model/bookmark_tree.h"
#include "platform/file_checks.h"
#include "sources/source_loader.h"
#include "targets/backup_copy.h"
#include "targets/netscape_writer.h"

#include <ostream>

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

// The writer of each kind of target.
struct TargetWriter {
    StoreKind kind;
    Exporter exporter;
};
constexpr TargetWriter kTargetWriters[] = {
    {StoreKind::Netscape, ExportToNetscape},
};

Exporter ExporterFor(StoreKind kind) {
    for (const auto& writer : kTargetWriters) {
        if (writer.kind == kind) {
            return writer.exporter;
        }
    }
    return nullptr;
}

std::optional<StoreLocation> Location(const std::string& text, std::ostream& err) {
    auto location = ParseStoreLocation(text);
    if (!location) {
        err << "tellavin-cli: not a store: \"" << text
            << "\" (expected favorites:DIR, netscape:FILE or opera:FILE)\n";
    }
    return location;
}

} // namespace

int RunConvert(const ConvertRequest& request, std::ostream& out, std::ostream& err,
               const Platform& platform) {
    auto source = Location(request.source, err);
    auto target = Location(request.target, err);
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
    auto check = CheckInputFor(*source, *target);
    check.merge = request.merge;
    if (!PassesExportChecks(check, platform, err)) {
        return 1;
    }
    BookmarkTree tree;
    if (!LoadSourceTree(*source, tree)) {
        err << "tellavin-cli: cannot read " << source->path << "\n";
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
