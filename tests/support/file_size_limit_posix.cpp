#include "support/file_size_limit.h"

namespace tellavin::test {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    // The signal would end the process; ignored, the write returns EFBIG.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

} // namespace tellavin::test
