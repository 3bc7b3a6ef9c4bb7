#pragma once

#include <chrono>
#include <optional>

namespace tellavin {

// The calendar date, in the local time zone, of a moment; nothing when the
// conversion to local time fails.
std::optional<std::chrono::year_month_day> LocalDate(std::chrono::system_clock::time_point moment);

} // namespace tellavin
