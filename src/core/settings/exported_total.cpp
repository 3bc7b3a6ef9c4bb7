#include "settings/exported_total.h"

#include "settings/setting_store.h"
#include "text/number_text.h"

#include <algorithm>
#include <limits>

namespace tellavin {

namespace {

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
    std::int32_t total = StoredTotal(settings.GetSettingStr("Settings", "TotalItemsExported", "0"));
    std::int64_t sum = std::int64_t{total} + count;
    if (count != 0 && sum >= std::numeric_limits<std::int32_t>::min() &&
        sum <= std::numeric_limits<std::int32_t>::max()) {
        total = static_cast<std::int32_t>(sum);
        try {
            settings.SaveSettingStr("Settings", "TotalItemsExported", std::to_string(total));
        } catch (const SettingError&) {
            // The total of this session is still shown.
        }
    }
    return std::max(total, 0);
}

} // namespace tellavin
