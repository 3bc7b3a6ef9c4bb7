#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tellavin::test {

// Runs body in a forked child whose files may grow to at most maxBytes
// (RLIMIT_FSIZE, which binds root too), so writes fail the way a full disk
// makes them fail. Returns the text body returned, or nothing when the
// child did not finish normally.
std::optional<std::string> RunWithFileSizeLimit(std::size_t maxBytes,
                                                const std::function<std::string()>& body);

} // namespace tellavin::test
