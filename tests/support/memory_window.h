#pragma once

#include "settings/window_controls.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tellavin::test {

// A window whose controls live in memory: what a Qt window shows through
// WindowControls, without a screen. A control exists once it is put into one
// of the maps; asking for any other control answers nothing.
class MemoryWindow final : public WindowControls {
public:
    struct Combo {
        std::vector<std::string> items;
        std::int32_t listIndex = -1; // the selected item, -1 for none
    };

    std::map<std::string, std::int32_t, std::less<>> values; // check boxes, option buttons
    std::map<std::string, std::string, std::less<>> texts;   // text boxes
    std::map<std::string, Combo, std::less<>> combos;
    WindowRect rect{0, 0, 400, 300};
    ScreenInfo screen{1024, 768, 15, 15};

    std::optional<std::int32_t> GetValue(std::string_view control) const override;
    void SetValue(std::string_view control, std::int32_t value) override;
    std::optional<std::string> GetText(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    std::optional<std::vector<std::string>> GetItems(std::string_view control) const override;
    void AddItem(std::string_view control, const std::string& text) override;
    void SelectItem(std::string_view control, std::int32_t index) override;
    WindowRect GetRect() const override { return rect; }
    void SetRect(const WindowRect& placed) override { rect = placed; }
    ScreenInfo GetScreen() const override { return screen; }
};

// A window of the given kind (1 main, 3 selection, else the conversion path)
// carrying every control its saved settings use: check boxes and option
// buttons holding initialValue, empty text boxes, and location lists holding
// only their prompt item (selected).
MemoryWindow WindowOfKind(std::int32_t kind, std::int32_t initialValue = 0);

} // namespace tellavin::test
