#include "gui/windows/widget_controls.h"

#include "gui/windows/control_array.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

namespace tellavin {

namespace {

constexpr double kTwipsPerInch = 1440.0;

// "optWhere(1)" is the widget "optWhere_1"; a plain name stays as it is.
QString ObjectName(std::string_view control) {
    const QString name = QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size()));
    static const QRegularExpression element(QStringLiteral(R"(^(\w+)\((\d+)\)$)"));
    const QRegularExpressionMatch match = element.match(name);
    return match.hasMatch() ? ControlArrayName(match.captured(1), match.captured(2).toInt()) : name;
}

// An option button: a checkable button that is not a check box.
QAbstractButton* AsOptionButton(QAbstractButton* button) {
    if (button == nullptr || !button->isCheckable() || qobject_cast<QCheckBox*>(button)) {
        return nullptr;
    }
    return button;
}

void SetCheckBox(QCheckBox& box, std::int32_t value) {
    switch (value) {
    case 0:
        box.setCheckState(Qt::Unchecked);
        break;
    case 1:
        box.setCheckState(Qt::Checked);
        break;
    case 2:
        box.setCheckState(Qt::PartiallyChecked);
        break;
    default:
        // Not a check box value: the box keeps the one it has.
        break;
    }
}

void SetOptionButton(QAbstractButton& button, std::int32_t value) {
    if (value != 0) {
        button.setChecked(true);
        return;
    }
    // An exclusive option button cannot be cleared by itself; clearing it
    // leaves its group with none set, as a stored 0 for every button asks.
    const bool exclusive = button.autoExclusive();
    button.setAutoExclusive(false);
    button.setChecked(false);
    button.setAutoExclusive(exclusive);
}

} // namespace

WidgetControls::WidgetControls(QWidget& window) : window_(window) {}

template <typename Control> Control* WidgetControls::Find(std::string_view control) const {
    return window_.findChild<Control*>(ObjectName(control));
}

std::optional<std::int32_t> WidgetControls::GetValue(std::string_view control) const {
    if (auto* box = Find<QCheckBox>(control)) {
        switch (box->checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        }
    }
    if (auto* option = AsOptionButton(Find<QAbstractButton>(control))) {
        return option->isChecked() ? -1 : 0;
    }
    return std::nullopt;
}

void WidgetControls::SetValue(std::string_view control, std::int32_t value) {
    if (auto* box = Find<QCheckBox>(control)) {
        SetCheckBox(*box, value);
    } else if (auto* option = AsOptionButton(Find<QAbstractButton>(control))) {
        SetOptionButton(*option, value);
    }
}

std::optional<std::string> WidgetControls::GetText(std::string_view control) const {
    if (auto* text = Find<QLineEdit>(control)) {
        return text->text().toStdString();
    }
    return std::nullopt;
}

void WidgetControls::SetText(std::string_view control, const std::string& text) {
    if (auto* box = Find<QLineEdit>(control)) {
        box->setText(QString::fromStdString(text));
    }
}

std::optional<std::vector<std::string>> WidgetControls::GetItems(std::string_view control) const {
    auto* combo = Find<QComboBox>(control);
    if (combo == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i) {
        items.push_back(combo->itemText(i).toStdString());
    }
    return items;
}

void WidgetControls::AddItem(std::string_view control, const std::string& text) {
    if (auto* combo = Find<QComboBox>(control)) {
        combo->addItem(QString::fromStdString(text));
    }
}

void WidgetControls::SelectItem(std::string_view control, std::int32_t index) {
    auto* combo = Find<QComboBox>(control);
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return;
    }
    combo->setCurrentIndex(index);
    // The window handles the choice as if the user had made it.
    emit combo->activated(index);
}

WindowRect WidgetControls::GetRect() const {
    const QRect frame = window_.frameGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void WidgetControls::SetRect(const WindowRect& rect) {
    const QSize frameExtra = window_.frameGeometry().size() - window_.size();
    const QSize inside(rect.width - frameExtra.width(), rect.height - frameExtra.height());
    if (inside != window_.size()) {
        window_.resize(inside);
    }
    window_.move(rect.left, rect.top);
}

ScreenInfo WidgetControls::GetScreen() const {
    const QRect desktop = window_.screen()->virtualGeometry();
    return {desktop.right() + 1, desktop.bottom() + 1, kTwipsPerInch / window_.logicalDpiX(),
            kTwipsPerInch / window_.logicalDpiY()};
}

} // namespace tellavin
