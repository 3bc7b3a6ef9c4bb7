#pragma once

#include <csignal>
#include <cstdint>
#include <sys/resource.h>

namespace tellavin::test {

// While the object lives, the process may not write a regular file beyond
// the given size: a longer write fails with "File too large", even for root,
// for whom a read-only folder is no obstacle.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace tellavin::test
