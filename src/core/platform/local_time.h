#pragma once

#include <chrono>
#include <ctime>
#include <optional>
#include <string>

namespace tellavin {

// The calendar date, in the local time zone, of a moment; nothing when the
// conversion to local time fails.
std::optional<std::chrono::year_month_day> LocalDate(std::chrono::system_clock::time_point moment);

// A moment in local time as the user's locale writes it, in a strftime
// format ("%x %X" for a date with its time, "%x" for a short date); empty
// when the conversion to local time fails.
std::string LocalTimeText(std::time_t moment, const char* format);

} // namespace tellavin
