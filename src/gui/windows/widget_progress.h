#pragma once

#include "model/progress.h"

#include <QElapsedTimer>

class QProgressBar;
class QStatusBar;

namespace tellavin {

// Long work reported on a window's status line and progress bar. The work
// runs on the window's own thread, so now and then, while values change,
// the window gets to paint itself (without taking the user's input).
class WidgetProgress final : public ProgressSink {
public:
    WidgetProgress(QStatusBar& statusLine, QProgressBar& bar);

    void SetStatusText(const std::string& text) override;
    void SetRange(std::int32_t minimum, std::int32_t maximum) override;
    void ShowNow() override;
    void SetValue(std::int32_t value) override;
    void SetVisible(bool visible) override;

private:
    void PaintNowAndThen();

    QStatusBar& statusLine_;
    QProgressBar& bar_;
    QElapsedTimer sincePainted_;
};

} // namespace tellavin
