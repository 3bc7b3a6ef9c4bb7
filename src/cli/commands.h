#pragma once

#include <iosfwd>
#include <string>

namespace tellavin::cli {

// Each command returns the process exit status and writes a one-line
// message to err on failure.
int RunCount(const std::string& source, std::ostream& out, std::ostream& err);
int RunTree(const std::string& source, std::ostream& out, std::ostream& err);

} // namespace tellavin::cli
