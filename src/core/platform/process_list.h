#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tellavin {

// The names of the processes listed in a proc file system mounted at
// procRoot ("/proc" on Linux): for each process its command name and the
// file name of its executable, when they can be read. Processes that end
// while the list is read, or that the user may not inspect, are left out.
// Nothing when the folder cannot be read or lists no process that could be
// read, as on systems without a proc file system: then nobody can tell what
// runs.
std::optional<std::vector<std::string>> ReadProcessNames(const std::string& procRoot);

} // namespace tellavin
