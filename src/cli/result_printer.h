#pragma once

#include "model/export_result.h"
#include "model/user_message.h"

#include <iosfwd>

namespace tellavin::cli {

// Prints a refusal or failure on err: its title, then each line indented,
// control characters of the names and paths it quotes shown escaped.
void PrintMessage(const UserMessage& message, std::ostream& err);

// Prints what a conversion did: "N Folders & M Links Exported
// Successfully." on out, followed, when withLosses and anything was lost,
// by "Not carried over:" and one indented line per kind of loss; and on err
// why nothing was written or what a partial export misses. Returns the
// exit status: 0 when everything was written, 1 otherwise.
int PrintExportResult(const ExportResult& result, std::ostream& out, std::ostream& err,
                      bool withLosses = true);

} // namespace tellavin::cli
