#pragma once

#include "platform/platform.h"

#include <iosfwd>

namespace tellavin::cli {

// Runs tellavin-cli with its arguments (argv[0] the program's name):
// parses them, runs the command and returns its exit status; output goes
// to out, errors and the progress line (when errIsTerminal) to err.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const Platform& platform, bool errIsTerminal);

} // namespace tellavin::cli
