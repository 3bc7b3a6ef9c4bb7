#include "cli/convert_command.h"

#include "cli/result_printer.h"
#include "cli/store_argument.h"
#include "conversion/conversion.h"

#include <ostream>

namespace tellavin::cli {

int RunConvert(const ConvertArguments& arguments, std::ostream& out, std::ostream& err,
               const Platform& platform, ProgressSink& progress) {
    auto source = StoreArgument(arguments.source, platform, err);
    auto target = StoreArgument(arguments.target, platform, err);
    if (!source || !target) {
        return 2;
    }
    ConversionRequest request;
    request.source = *source;
    request.target = *target;
    request.choice = arguments.choice;
    auto& options = request.options;
    options.merge = arguments.merge;
    options.keepDuplicates = arguments.keepDuplicates;
    options.newFolder = arguments.newFolder;
    options.existingFolder = arguments.existingFolder;
    options.links =
        arguments.linksFirst ? LinksPlacement::BeforeFolders : LinksPlacement::AfterFolders;
    options.profileName = arguments.profile;
    options.backup = arguments.backup;
    options.keepOrder = arguments.keepOrder;
    options.place = arguments.place;
    options.noNewFolder = arguments.noNewFolder;
    options.dryRun = arguments.dryRun;
    options.force = arguments.force;
    return PrintExportResult(RunConversion(request, platform, progress), out, err, !arguments.quiet,
                             arguments.dryRun);
}

} // namespace tellavin::cli
