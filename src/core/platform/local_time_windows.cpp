#include "platform/file_information_windows.h"
#include "platform/local_time.h"

namespace tellavin {

std::optional<std::chrono::year_month_day> LocalDate(std::chrono::system_clock::time_point moment) {
    auto ticks =
        std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
            moment.time_since_epoch())
            .count() +
        kTicksFrom1601To1970;
    if (ticks < 0) {
        return std::nullopt;
    }
    ULARGE_INTEGER value{};
    value.QuadPart = static_cast<ULONGLONG>(ticks);
    FILETIME utc{value.LowPart, value.HighPart};
    SYSTEMTIME utcTime{};
    SYSTEMTIME local{};
    // The time zone's rules for that moment's own year, summer time
    // included, as Explorer shows the date.
    if (!FileTimeToSystemTime(&utc, &utcTime) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local)) {
        return std::nullopt;
    }
    return std::chrono::year_month_day{std::chrono::year{local.wYear},
                                       std::chrono::month{local.wMonth},
                                       std::chrono::day{local.wDay}};
}

} // namespace tellavin
