#include "support/memory_window.h"

namespace tellavin::test {

std::optional<std::int32_t> MemoryWindow::GetValue(std::string_view control) const {
    auto found = values.find(control);
    return found == values.end() ? std::nullopt : std::optional(found->second);
}

void MemoryWindow::SetValue(std::string_view control, std::int32_t value) {
    if (auto found = values.find(control); found != values.end()) {
        found->second = value;
    }
}

std::optional<std::string> MemoryWindow::GetText(std::string_view control) const {
    auto found = texts.find(control);
    return found == texts.end() ? std::nullopt : std::optional(found->second);
}

void MemoryWindow::SetText(std::string_view control, const std::string& text) {
    if (auto found = texts.find(control); found != texts.end()) {
        found->second = text;
    }
}

std::optional<std::vector<std::string>> MemoryWindow::GetItems(std::string_view control) const {
    auto found = combos.find(control);
    return found == combos.end() ? std::nullopt : std::optional(found->second.items);
}

void MemoryWindow::AddItem(std::string_view control, const std::string& text) {
    if (auto found = combos.find(control); found != combos.end()) {
        found->second.items.push_back(text);
    }
}

void MemoryWindow::SelectItem(std::string_view control, std::int32_t index) {
    auto found = combos.find(control);
    if (found != combos.end() && index >= -1 &&
        index < static_cast<std::int32_t>(found->second.items.size())) {
        found->second.listIndex = index;
    }
}

MemoryWindow WindowOfKind(std::int32_t kind, std::int32_t initialValue) {
    MemoryWindow window;
    auto values = [&](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            window.values[name] = initialValue;
        }
    };
    auto storeList = [&](const char* name) {
        window.combos[name] = MemoryWindow::Combo{{"- Please Select a Bookmark File -"}, 0};
    };
    bool exportOptions = kind == 2 || kind == 7 || kind == 8 || kind == 10;
    bool favorites = kind == 2 || kind == 7 || kind == 4 || kind == 9 || kind == 5;
    bool menu = kind == 5 || kind == 6 || kind == 11;
    if (favorites) {
        window.texts["txtIELoc"] = "";
    }
    if (exportOptions) {
        values({"chkBackup", "chkSkipThere", "chkLinksBefore", "chkKeepOrder", "optOldErase",
                "optOldMerge", "optWhere(0)", "optWhere(1)", "optPlace(0)", "optPlace(1)",
                "optPlace(2)"});
    }
    if (kind == 4 || kind == 9) {
        values({"chkKeepOrder", "chkSkipThere", "NNoptWhere(0)", "NNoptWhere(1)"});
    }
    if (kind >= 2 && kind != 3 && kind != 5 && kind <= 11) {
        storeList("cboNNLoc");
    }
    if (kind == 8 || kind == 10) {
        storeList("cboFromLoc");
    }
    if (menu) {
        window.combos["cboDHTMLLoc"] = MemoryWindow::Combo{};
        values({"chkOpenNew", "chkShowUrl", "chkVertical", "chkShadows", "chkShowStatistics",
                "chkMaxItems", "chkShowBrowser", "chkKeepOrder"});
        window.texts["txtPageTitle"] = "";
        window.texts["txtMaxItems"] = "";
    }
    return window;
}

} // namespace tellavin::test
