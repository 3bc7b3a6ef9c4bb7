#include "settings/location_lists.h"

#include "model/labelled_location.h"
#include "platform/file_checks.h"

#include <algorithm>
#include <vector>

namespace tellavin {

namespace {

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kMenuCombo = "cboDHTMLLoc";

std::string KeyPrefix(StoreList list) {
    return list == StoreList::Netscape ? "NNLocation" : "OperaHotlist";
}

std::string Key(std::string_view prefix, int n) {
    return std::string(prefix) + std::to_string(n);
}

void SaveEntries(CSetting& settings, std::string_view prefix,
                 const std::vector<std::string>& entries) {
    for (int n = 0; n < kRememberedLocations; ++n) {
        auto index = static_cast<std::size_t>(n);
        settings.SaveSettingStr(kSection, Key(prefix, n),
                                index < entries.size() ? entries[index] : std::string());
    }
}

} // namespace

void LoadStoreList(CSetting& settings, StoreList list, WindowControls& window,
                   std::string_view combo) {
    auto prefix = KeyPrefix(list);
    for (int n = 0; n < kRememberedLocations; ++n) {
        auto entry = settings.GetSettingStr(kSection, Key(prefix, n), "");
        if (!FileExists(LocationPath(entry))) {
            continue;
        }
        window.AddItem(combo, entry);
        if (n == 0) {
            if (auto items = window.GetItems(combo); items && !items->empty()) {
                window.SelectItem(combo, static_cast<std::int32_t>(items->size() - 1));
            }
        }
    }
}

bool SaveStoreList(CSetting& settings, StoreList list, const WindowControls& window,
                   std::string_view combo) {
    auto items = window.GetItems(combo);
    if (!items) {
        return false;
    }
    std::vector<std::string> entries;
    for (std::size_t i = 1; i < items->size(); ++i) {
        const auto& item = (*items)[i];
        if (list == StoreList::Opera && !item.empty() && item.front() == '<') {
            continue;
        }
        entries.push_back(item);
    }
    SaveEntries(settings, KeyPrefix(list), entries);
    return true;
}

void LoadMenuList(CSetting& settings, WindowControls& window, SessionState& session) {
    for (int n = 0; n < kRememberedLocations; ++n) {
        auto page = settings.GetSettingStr(kSection, Key("MenuLocation", n), "");
        if (!PathExists(page)) {
            continue;
        }
        window.AddItem(kMenuCombo, page);
        if (n == 0) {
            session.menuFile = page;
        }
    }
}

bool SaveMenuList(CSetting& settings, const WindowControls& window) {
    auto items = window.GetItems(kMenuCombo);
    if (!items) {
        return false;
    }
    SaveEntries(settings, "MenuLocation", *items);
    return true;
}

} // namespace tellavin
