#pragma once

#include "model/progress.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace tellavin {

// Runs work that reports to a progress sink and returns once it ended: true
// when it ran to its end, false when it was cancelled on the way.
using WorkRunner = std::function<bool(const std::function<void(ProgressSink&)>&)>;

// The progress of work on a worker thread, shown by a sink of the window's
// thread. The worker's calls keep only the latest status text, range,
// value and visibility, and one queued call at a time hands them over, so
// work that reports often never floods the window's event loop. The
// window's thread asks the work to stop with Cancel; the worker reads it
// through Cancelled.
class WorkerProgress final : public QObject, public ProgressSink {
    Q_OBJECT

public:
    explicit WorkerProgress(ProgressSink& shown);

    void SetStatusText(const std::string& text) override;
    void SetRange(std::int32_t minimum, std::int32_t maximum) override;
    void SetValue(std::int32_t value) override;
    void SetVisible(bool visible) override;
    bool Cancelled() const override { return cancelled_.load(); }

    // On the window's thread.
    void Cancel() { cancelled_.store(true); }
    // Hands what the worker reported since the last hand-over to the shown
    // sink; called by the queued call, and once more after the work ended.
    void Deliver();

signals:
    // The work ended; emitted by the worker.
    void Ended();

private:
    struct Reported {
        std::optional<std::string> text;
        std::optional<std::pair<std::int32_t, std::int32_t>> range;
        std::optional<std::int32_t> value;
        std::optional<bool> visible;
    };

    // Queues a hand-over unless one is queued already; mutex_ held.
    void PostLocked();

    ProgressSink& shown_;
    std::mutex mutex_;
    Reported pending_;
    bool posted_ = false;
    std::atomic<bool> cancelled_{false};
};

} // namespace tellavin
