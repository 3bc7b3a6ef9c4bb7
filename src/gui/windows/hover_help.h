#pragma once

#include <QObject>
#include <QString>

class QStatusBar;
class QWidget;

namespace tellavin {

// The hover pattern of a window: while the mouse is over a control that has
// help text (its status tip), the window's status line shows that text; when
// the mouse leaves it, the status line shows the window's resting text
// ("Ready" in the main window, nothing in the export windows).
//
// Qt announces entering and leaving a control with a status-tip event that
// travels up to the window; this object watches the window for those events.
class HoverHelp : public QObject {
    Q_OBJECT

public:
    HoverHelp(QWidget& window, QStatusBar& statusLine, QString restText);

    // Puts the resting text on the status line.
    void ShowRestText();
    // Makes text the resting text, shown at once unless the status line
    // shows a control's help.
    void SetRestText(QString text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar& statusLine_;
    QString restText_;
};

} // namespace tellavin
