#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tellavin {

struct LeadingInteger {
    std::int64_t value = 0;
    bool whole = false; // nothing but blanks follows the digits
};

// The whole number a text starts with: blanks, an optional sign, then
// digits. Numbers far beyond 32 bits saturate near the 64-bit limits.
// Nothing when the text starts with no number.
std::optional<LeadingInteger> ParseLeadingInteger(std::string_view text);

// A date written as whole seconds since 1970 (ADD_DATE, CREATED): the
// number, whatever its sign or size, or nothing when the text is not a
// whole number.
std::optional<std::int64_t> ParseSecondsSince1970(std::string_view text);

} // namespace tellavin
