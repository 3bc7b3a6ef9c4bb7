#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace tellavin {

// Adds count to the running total of exported folders and links (key
// "TotalItemsExported" of section "Settings" in the settings file) and
// returns the new total, or 0 when it is negative. A count of 0 only reads
// the total. Never fails: a missing or unreadable total counts as 0, a sum
// beyond 32 bits keeps the old total, and a total that cannot be saved is
// still returned.
std::int32_t AddToExportedTotal(const Platform& platform, std::int32_t count);

} // namespace tellavin
