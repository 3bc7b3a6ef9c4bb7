#pragma once

#include "conversion/conversion.h"

namespace tellavin {

// Writes the tree into the request's target with the writer of the
// target's kind, the request's options turned into that writer's own.
ExportResult WriteTarget(BookmarkTree& tree, const ConversionRequest& request,
                         const Platform& platform, ProgressSink& progress);

} // namespace tellavin
