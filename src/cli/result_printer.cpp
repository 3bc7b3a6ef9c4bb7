#include "cli/result_printer.h"

#include "cli/outcome_answers.h"
#include "text/visible_text.h"

#include <ostream>
#include <string>
#include <vector>

namespace tellavin::cli {

int PrintExportResult(const ExportResult& result, std::ostream& out, std::ostream& err,
                      bool withLosses, bool dryRun) {
    if (!result.ok) {
        err << OutcomeLine(result.outcome) << "\n";
        // A writer's message holds the system's reason.
        if (result.outcome.kind == OutcomeKind::WriteFailed) {
            for (const auto& line : result.message.lines) {
                err << "  " << VisibleText(line) << "\n";
            }
        }
        return ExitStatusFor(result.outcome.kind);
    }
    if (dryRun) {
        out << "Dry run, nothing written: " << result.nFoldersWritten << " Folders & "
            << result.nLinksWritten << " Links would be exported.\n";
    } else {
        out << result.nFoldersWritten << " Folders & " << result.nLinksWritten
            << " Links Exported Successfully.\n";
    }
    if (auto merged = result.MergeSummary(dryRun); !merged.empty()) {
        out << merged << ".\n";
    }
    for (const auto& line : dryRun ? std::vector<std::string>() : result.advice) {
        out << line << "\n";
    }
    if (withLosses && !result.losses.Empty()) {
        out << "Not carried over:\n";
        for (const auto& line : result.losses.Lines()) {
            out << "  " << VisibleText(line) << "\n";
        }
    }
    if (result.Complete()) {
        return 0;
    }
    err << "tellavin-cli: the export is incomplete\n";
    if (result.nLinksNotWritten > 0) {
        err << "  " << result.nLinksNotWritten << " links could not be written.\n";
    }
    if (result.nUnreadableFolders > 0) {
        err << "  The links of " << result.nUnreadableFolders << " folders could not be read.\n";
    }
    err << "  The first failure: " << VisibleText(result.sFirstFailure) << "\n";
    return 1;
}

} // namespace tellavin::cli
