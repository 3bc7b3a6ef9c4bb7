#pragma once

#include "sources/store_location.h"
#include "targets/export_validation.h"

#include <iosfwd>

namespace tellavin::cli {

// What the checks look at when a whole store is exported into another (or,
// with the kind Menu, into a menu page); no window choice is set.
ExportCheckInput CheckInputFor(const StoreLocation& source, const StoreLocation& target);

// Runs the checks an export window runs before writing (missing source,
// missing or read-only target, running browser). Relative paths are taken
// from the current folder. A refusal is printed to err, its title after
// the program's name and each of its lines below, indented; then the
// result is false and nothing may be written.
bool PassesExportChecks(ExportCheckInput input, const Platform& platform, std::ostream& err);

} // namespace tellavin::cli
