#include "gui/windows/worker_progress.h"

namespace tellavin {

WorkerProgress::WorkerProgress(ProgressSink& shown) : shown_(shown) {}

void WorkerProgress::SetStatusText(const std::string& text) {
    std::lock_guard lock(mutex_);
    pending_.text = text;
    PostLocked();
}

void WorkerProgress::SetRange(std::int32_t minimum, std::int32_t maximum) {
    std::lock_guard lock(mutex_);
    pending_.range = std::pair(minimum, maximum);
    PostLocked();
}

void WorkerProgress::SetValue(std::int32_t value) {
    std::lock_guard lock(mutex_);
    pending_.value = value;
    PostLocked();
}

void WorkerProgress::SetVisible(bool visible) {
    std::lock_guard lock(mutex_);
    pending_.visible = visible;
    PostLocked();
}

void WorkerProgress::PostLocked() {
    if (posted_) {
        return;
    }
    posted_ = true;
    // Dropped unrun should this object go first: the work has ended then,
    // and the last Deliver showed everything.
    QMetaObject::invokeMethod(
        this, [this] { Deliver(); }, Qt::QueuedConnection);
}

void WorkerProgress::Deliver() {
    Reported reported;
    {
        std::lock_guard lock(mutex_);
        reported = std::exchange(pending_, {});
        posted_ = false;
    }
    if (reported.range) {
        shown_.SetRange(reported.range->first, reported.range->second);
    }
    if (reported.value) {
        shown_.SetValue(*reported.value);
    }
    if (reported.visible) {
        shown_.SetVisible(*reported.visible);
    }
    if (reported.text) {
        shown_.SetStatusText(*reported.text);
    }
}

} // namespace tellavin
