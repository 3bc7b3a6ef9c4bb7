#include "platform/background_writer.h"

#include <utility>

namespace tellavin {

BackgroundWriter::BackgroundWriter(std::function<unsigned long(std::string_view)> write)
    : write_(std::move(write)), thread_([this] { WriteBlocks(); }) {}

BackgroundWriter::~BackgroundWriter() {
    Finish();
}

void BackgroundWriter::HandOver(std::string& block) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !hasWaiting_; });
    std::swap(waiting_, block);
    block.clear();
    hasWaiting_ = true;
    changed_.notify_all();
}

unsigned long BackgroundWriter::Finish() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !hasWaiting_ && !writing_; });
        finishing_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    return error_;
}

void BackgroundWriter::WriteBlocks() {
    std::string block;
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return hasWaiting_ || finishing_; });
        if (!hasWaiting_) {
            return;
        }
        // The emptied block goes back for the composer to fill next.
        std::swap(block, waiting_);
        waiting_.clear();
        hasWaiting_ = false;
        writing_ = true;
        changed_.notify_all();
        lock.unlock();
        auto error = error_ == 0 ? write_(block) : 0;
        lock.lock();
        if (error_ == 0) {
            error_ = error;
        }
        writing_ = false;
        changed_.notify_all();
    }
}

} // namespace tellavin
