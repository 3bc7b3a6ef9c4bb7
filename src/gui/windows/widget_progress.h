#pragma once

#include "model/progress.h"

class QProgressBar;
class QStatusBar;

namespace tellavin {

// Long work reported on a window's status line and progress bar. Called on
// the window's thread: work on a worker thread reports through a
// WorkerProgress, which hands its reports over to this sink.
class WidgetProgress final : public ProgressSink {
public:
    WidgetProgress(QStatusBar& statusLine, QProgressBar& bar);

    void SetStatusText(const std::string& text) override;
    void SetRange(std::int32_t minimum, std::int32_t maximum) override;
    void SetValue(std::int32_t value) override;
    void SetVisible(bool visible) override;

private:
    QStatusBar& statusLine_;
    QProgressBar& bar_;
};

} // namespace tellavin
