#pragma once

#include "conversion/conversion.h"

namespace tellavin {

// Writes the tree into the request's target with the writer of the
// target's kind, which takes the request's options as they are.
ExportResult WriteTarget(BookmarkTree& tree, const ConversionRequest& request,
                         ProgressSink& progress);

} // namespace tellavin
