#pragma once

#include "model/export_result.h"

#include <iosfwd>

namespace tellavin::cli {

// Prints what a conversion did: "N Folders & M Links Exported
// Successfully." on out, followed, when withLosses and anything was lost,
// by "Not carried over:" and one indented line per kind of loss; and on err
// why nothing was written (one line naming the path, with a failed write's
// reasons below it) or what a partial export misses. Returns the exit
// status: that of the outcome (ExitStatusFor) when nothing was written, 0
// when everything was, 1 for a partial export. A merge's line of what it
// skipped and joined follows the first. A dry run's lines say what the
// export would do ("Dry run, nothing written: N Folders & M Links would be
// exported."), with the same exit status.
int PrintExportResult(const ExportResult& result, std::ostream& out, std::ostream& err,
                      bool withLosses = true, bool dryRun = false);

} // namespace tellavin::cli
