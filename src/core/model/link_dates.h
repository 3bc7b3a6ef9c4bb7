#pragma once

#include "model/loss_report.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tellavin {

// The last second a link's date may name: the end of the year 9999 UTC,
// the last that every store's date formats and the platforms' clocks hold.
inline constexpr std::int64_t kLastLinkDate = 253'402'300'799;

// Whether a link may carry a date given in seconds since 1970 UTC: it lies
// after 1 January 1970 and within the year 9999. Zero stands for no date in
// the tree, so a date of 1970 itself is none a link can carry.
constexpr bool IsLinkDateInRange(std::int64_t seconds) {
    return seconds > 0 && seconds <= kLastLinkDate;
}

// The date a link keeps of one its source gives (nothing when the source
// gives none): the date when in range, else 0. A date given but out of
// range is noted in losses under kind with the link's name.
std::int64_t KeptLinkDate(std::optional<std::int64_t> date, LossKind kind,
                          std::string_view linkName, LossReport& losses);

} // namespace tellavin
