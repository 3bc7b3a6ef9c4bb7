#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace tellavin {

// Works through batches on a thread of its own while the caller fills the
// next one: a file's composer and the system's write copies, or a parser
// and the tree builder, each take a core. One batch waits at a time; a
// batch handed over while the last one is still waiting waits for it.
// Batch is a container (a string, a vector) whose memory goes back and
// forth between the two threads, so neither allocates after the start.
template <typename Batch> class BatchWorker {
public:
    // work takes each batch in the order handed over. When it throws, the
    // batches after are dropped and Finish throws the same.
    explicit BatchWorker(std::function<void(Batch&)> work)
        : work_(std::move(work)), thread_([this] { Work(); }) {}
    ~BatchWorker() { Stop(); }
    BatchWorker(const BatchWorker&) = delete;
    BatchWorker& operator=(const BatchWorker&) = delete;

    // Takes batch's contents and leaves batch empty, with the memory of a
    // batch worked through before.
    void HandOver(Batch& batch) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !hasWaiting_; });
        std::swap(waiting_, batch);
        batch.clear();
        hasWaiting_ = true;
        changed_.notify_all();
    }

    // Waits until every batch handed over is worked through and stops the
    // thread; throws what work threw.
    void Finish() {
        Stop();
        if (failure_) {
            std::rethrow_exception(std::exchange(failure_, nullptr));
        }
    }

private:
    void Stop() {
        {
            std::unique_lock lock(mutex_);
            finishing_ = true;
            changed_.notify_all();
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    void Work() {
        Batch batch;
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return hasWaiting_ || finishing_; });
            if (!hasWaiting_) {
                return;
            }
            std::swap(batch, waiting_); // the emptied batch goes back to be filled
            hasWaiting_ = false;
            changed_.notify_all();
            lock.unlock();
            if (!failure_) {
                try {
                    work_(batch);
                } catch (...) {
                    failure_ = std::current_exception();
                }
            }
            batch.clear();
            lock.lock();
        }
    }

    std::function<void(Batch&)> work_;
    std::mutex mutex_;
    std::condition_variable changed_;
    Batch waiting_;
    bool hasWaiting_ = false;
    bool finishing_ = false;
    std::exception_ptr failure_; // the worker's, read by the caller after the join
    std::thread thread_;         // last: started when everything above is ready
};

} // namespace tellavin
