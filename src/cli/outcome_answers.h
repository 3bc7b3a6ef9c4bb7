#pragma once

#include "model/outcome.h"

#include <string>

namespace tellavin::cli {

// The exit status of a command that ended with the outcome: 0 when done;
// 2 for a request that cannot be carried out as asked (no conversion
// between the two kinds, an option the target does not take, a target that
// is the source); 1 for what the state of the machine refused or what
// failed.
int ExitStatusFor(OutcomeKind kind);

// The one line that tells why a command refused or failed, naming the path
// concerned: "tellavin-cli: PATH: does not exist", the reason after a colon
// where there is one. Control characters of the path and the reason are
// shown escaped.
std::string OutcomeLine(const Outcome& outcome);

} // namespace tellavin::cli
