#pragma once

#include "settings/window_controls.h"

#include <QString>

class QWidget;

namespace tellavin {

// A Qt window seen through WindowControls, so that the saved options and
// places reach its widgets by their design names: check boxes (QCheckBox),
// option buttons (any other checkable button, such as QRadioButton), text
// boxes (QLineEdit) and combo boxes (QComboBox). An array element "name(i)"
// is the widget named "name_i". The window's rectangle is its frame, title
// bar included, in pixels of the virtual desktop.
class WidgetControls final : public WindowControls {
public:
    explicit WidgetControls(QWidget& window);

    std::optional<std::int32_t> GetValue(std::string_view control) const override;
    void SetValue(std::string_view control, std::int32_t value) override;
    std::optional<std::string> GetText(std::string_view control) const override;
    void SetText(std::string_view control, const std::string& text) override;
    std::optional<std::vector<std::string>> GetItems(std::string_view control) const override;
    void AddItem(std::string_view control, const std::string& text) override;
    void SelectItem(std::string_view control, std::int32_t index) override;
    WindowRect GetRect() const override;
    void SetRect(const WindowRect& rect) override;
    ScreenInfo GetScreen() const override;

private:
    template <typename Control> Control* Find(std::string_view control) const;

    QWidget& window_;
};

} // namespace tellavin
