#include "cli/export_check.h"

#include "platform/file_io.h"

#include <filesystem>
#include <ostream>

namespace tellavin::cli {

namespace {
// The windows always hold absolute paths; a relative one names a file in
// the current folder, which the path test would not find.
void MakeAbsolute(std::string& path) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(PathFromUtf8(path), error);
    if (!path.empty() && !error) {
        path = Utf8FromPath(absolute);
    }
}
} // namespace

ExportCheckInput CheckInputFor(const StoreLocation& source, const StoreLocation& target) {
    ExportCheckInput input;
    input.code = ConversionPathFor(source.kind, target.kind).value_or(0);
    if (source.kind == StoreKind::Favorites) {
        input.favoritesFolder = source.path;
    } else {
        input.sourceFile = source.path;
    }
    if (target.kind == StoreKind::Favorites) {
        input.favoritesFolder = target.path;
    } else if (target.kind == StoreKind::Menu) {
        input.menuFile = target.path;
    } else {
        input.destinationFile = target.path;
    }
    return input;
}

bool PassesExportChecks(ExportCheckInput input, const Platform& platform, std::ostream& err) {
    for (auto* path :
         {&input.favoritesFolder, &input.sourceFile, &input.destinationFile, &input.menuFile}) {
        MakeAbsolute(*path);
    }
    auto refusal = CheckBeforeExport(input, false, platform);
    if (!refusal) {
        return true;
    }
    err << "tellavin-cli: " << refusal->message.title << "\n";
    for (const auto& line : refusal->message.lines) {
        err << "  " << line << "\n";
    }
    return false;
}

} // namespace tellavin::cli
