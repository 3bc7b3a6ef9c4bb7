#include "gui/windows/hover_help.h"

#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWidget>

namespace tellavin {

HoverHelp::HoverHelp(QWidget& window, QStatusBar& statusLine, QString restText)
    : QObject(&window), statusLine_(statusLine), restText_(std::move(restText)) {
    window.installEventFilter(this);
}

void HoverHelp::ShowRestText() {
    statusLine_.showMessage(restText_);
}

void HoverHelp::SetRestText(QString text) {
    const bool resting = statusLine_.currentMessage() == restText_;
    restText_ = std::move(text);
    if (resting) {
        ShowRestText();
    }
}

bool HoverHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::StatusTip) {
        return QObject::eventFilter(watched, event);
    }
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    statusLine_.showMessage(tip.isEmpty() ? restText_ : tip);
    return true;
}

} // namespace tellavin
