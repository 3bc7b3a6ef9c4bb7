#pragma once

#include "platform/platform.h"
#include "selection/selection_choice.h"

#include <iosfwd>
#include <string>

namespace tellavin::cli {

// Each command returns the process exit status and writes a one-line
// message to err on failure.
int RunCount(const std::string& source, const Platform& platform, std::ostream& out,
             std::ostream& err);
// The tree prints what the choice chooses when it chooses anything, each
// folder chosen in the nearest chosen folder above it, as an export writes it.
int RunTree(const std::string& source, const SelectionChoice& choice, const Platform& platform,
            std::ostream& out, std::ostream& err);
// Lists the stores that discovery finds on this machine; never fails.
int RunDiscover(const Platform& platform, std::ostream& out);

} // namespace tellavin::cli
