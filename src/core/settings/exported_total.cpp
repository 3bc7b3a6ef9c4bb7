#include "settings/exported_total.h"

#include "settings/setting_store.h"
#include "text/number_text.h"

#include <algorithm>
#include <limits>

namespace tellavin {

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kKey = "TotalItemsExported";

// The stored total when the value is a whole 32-bit number, else 0.
std::int32_t StoredTotal(std::string_view text) {
    auto number = ParseLeadingInteger(text);
    bool fits = number && number->whole &&
                number->value >= std::numeric_limits<std::int32_t>::min() &&
                number->value <= std::numeric_limits<std::int32_t>::max();
    return fits ? static_cast<std::int32_t>(number->value) : 0;
}

} // namespace

std::int32_t AddToExportedTotal(const Platform& platform, std::int32_t count) {
    CSetting settings(platform);
    settings.Init();
    if (count == 0) {
        return std::max(StoredTotal(settings.GetSettingStr(kSection, kKey, "0")), 0);
    }
    std::int32_t total = 0;
    // Read and written in one step: conversions running at once in other
    // processes each add their own count.
    auto add = [&](std::optional<std::string_view> stored) -> std::optional<std::string> {
        total = StoredTotal(stored.value_or("0"));
        std::int64_t sum = std::int64_t{total} + count;
        if (sum < std::numeric_limits<std::int32_t>::min() ||
            sum > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
        total = static_cast<std::int32_t>(sum);
        return std::to_string(total);
    };
    try {
        settings.UpdateSettingStr(kSection, kKey, add);
    } catch (const SettingError&) {
        // The total of this session is still shown.
    }
    return std::max(total, 0);
}

} // namespace tellavin
