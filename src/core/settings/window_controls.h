#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tellavin {

// A window's place on the screen, in pixels.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The screen a window is shown on: its size in pixels and how many twips
// (1/1440 inch) one pixel measures, 15 at 96 dots per inch.
struct ScreenInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

// How a window shows its controls to the code that saves and restores them.
// Controls are found by their names ("chkBackup", "txtPageTitle",
// "cboNNLoc"); an element of a control array is named with its index in
// parentheses, as "optWhere(1)" or "NNoptWhere(0)". A getter answers nothing
// when the window has no control of that name and kind; a setter then does
// nothing.
//
// A Qt window implements it over its widgets; tests use an in-memory window.
class WindowControls {
public:
    virtual ~WindowControls() = default;

    // The value of a check box (0 clear, 1 checked, 2 grey) or of an option
    // button (-1 set, 0 clear). Setting an option button to any value but 0
    // sets it.
    virtual std::optional<std::int32_t> GetValue(std::string_view control) const = 0;
    virtual void SetValue(std::string_view control, std::int32_t value) = 0;

    // The text of a text box.
    virtual std::optional<std::string> GetText(std::string_view control) const = 0;
    virtual void SetText(std::string_view control, const std::string& text) = 0;

    // The items of a combo box, item 0 first; adding puts an item at the end.
    // Selecting an index shows that item in the box and runs the window's
    // handler for a chosen item, as a user's choice does.
    virtual std::optional<std::vector<std::string>> GetItems(std::string_view control) const = 0;
    virtual void AddItem(std::string_view control, const std::string& text) = 0;
    virtual void SelectItem(std::string_view control, std::int32_t index) = 0;

    // The window's own position and size, and its screen.
    virtual WindowRect GetRect() const = 0;
    virtual void SetRect(const WindowRect& rect) = 0;
    virtual ScreenInfo GetScreen() const = 0;
};

} // namespace tellavin
