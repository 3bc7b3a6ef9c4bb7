#include "gui/windows/widget_progress.h"

#include <QProgressBar>
#include <QStatusBar>

namespace tellavin {

WidgetProgress::WidgetProgress(QStatusBar& statusLine, QProgressBar& bar)
    : statusLine_(statusLine), bar_(bar) {}

void WidgetProgress::SetStatusText(const std::string& text) {
    statusLine_.showMessage(QString::fromStdString(text));
}

void WidgetProgress::SetRange(std::int32_t minimum, std::int32_t maximum) {
    bar_.setRange(minimum, maximum);
}

void WidgetProgress::SetValue(std::int32_t value) {
    bar_.setValue(value);
}

void WidgetProgress::SetVisible(bool visible) {
    bar_.setVisible(visible);
}

} // namespace tellavin
