#include "gui/windows/widget_progress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QStatusBar>

namespace tellavin {

namespace {

// How often the window paints itself during long work.
constexpr qint64 kPaintEveryMilliseconds = 50;

} // namespace

WidgetProgress::WidgetProgress(QStatusBar& statusLine, QProgressBar& bar)
    : statusLine_(statusLine), bar_(bar) {
    sincePainted_.start();
}

void WidgetProgress::SetStatusText(const std::string& text) {
    statusLine_.showMessage(QString::fromStdString(text));
    PaintNowAndThen();
}

void WidgetProgress::SetRange(std::int32_t minimum, std::int32_t maximum) {
    bar_.setRange(minimum, maximum);
}

void WidgetProgress::SetValue(std::int32_t value) {
    bar_.setValue(value);
    PaintNowAndThen();
}

void WidgetProgress::SetVisible(bool visible) {
    bar_.setVisible(visible);
}

void WidgetProgress::ShowNow() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePainted_.restart();
}

void WidgetProgress::PaintNowAndThen() {
    if (sincePainted_.elapsed() >= kPaintEveryMilliseconds) {
        ShowNow();
    }
}

} // namespace tellavin
