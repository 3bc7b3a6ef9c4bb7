#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tellavin {

// Writes blocks on a thread of its own, so that composing the next block
// and writing the last one overlap: a big file's composer keeps one core
// busy and the system's write copies on the other. One block waits at a
// time; a block handed over while the last is being written waits for it.
class BackgroundWriter {
public:
    // write writes one block and returns 0, or the system's error number;
    // after a failure the blocks still handed over are dropped.
    explicit BackgroundWriter(std::function<unsigned long(std::string_view)> write);
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes block's bytes to write and leaves block empty, with the memory
    // of a block written before, for the next one.
    void HandOver(std::string& block);
    // Waits until every block handed over is written and stops the thread;
    // returns the first failure, or 0.
    unsigned long Finish();

private:
    void WriteBlocks();

    std::function<unsigned long(std::string_view)> write_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string waiting_; // the block handed over, not yet taken
    bool hasWaiting_ = false;
    bool writing_ = false;
    bool finishing_ = false;
    unsigned long error_ = 0;
    std::thread thread_; // last: started when everything above is ready
};

} // namespace tellavin
