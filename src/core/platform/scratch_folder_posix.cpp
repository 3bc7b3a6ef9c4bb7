#include "platform/file_io.h"
#include "platform/scratch_folder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tellavin {

namespace {

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return fd_; }
    // Closes the file now; the error a late write reports then, or 0.
    int Close() {
        int error = ::close(fd_) == 0 ? 0 : errno;
        fd_ = -1;
        return error;
    }

private:
    int fd_;
};

// A file in the folder that only the user may read or write, emptied when
// it is there.
int OpenPrivateFile(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Writes all the bytes; 0, or the system's error.
int WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        auto written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return errno;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

} // namespace

void ScratchFolder::MakeFolder() {
    // mkdtemp makes the folder 0700 under a name nobody had.
    auto pattern = (base_ / "tellavin-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        failure_ =
            "cannot make a temporary folder in " + Utf8FromPath(base_) + ": " + SystemReason(errno);
        return;
    }
    path_ = pattern;
}

std::string ScratchFolder::MakeFile(const std::string& name) {
    if (path_.empty()) {
        return failure_;
    }
    Descriptor file(OpenPrivateFile(PathOf(name)));
    return file.fd() < 0 ? WriteFailure(SystemReason(errno)) : std::string();
}

std::optional<ScratchFolder::CopyFailure>
ScratchFolder::CopyIn(const std::string& source, const std::string& name, std::uintmax_t maxBytes) {
    if (path_.empty()) {
        return CopyFailure{false, failure_};
    }
    // Without waiting, so that a pipe in the file's place is not waited on.
    Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (from.fd() < 0) {
        return CopyFailure{true, SystemReason(errno)};
    }
    Descriptor to(OpenPrivateFile(PathOf(name)));
    if (to.fd() < 0) {
        return CopyFailure{false, WriteFailure(SystemReason(errno))};
    }
    std::vector<char> buffer(std::size_t{1} << 16);
    while (maxBytes > 0) {
        auto got =
            ::read(from.fd(), buffer.data(), std::min<std::uintmax_t>(buffer.size(), maxBytes));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return CopyFailure{true, SystemReason(errno)};
        }
        if (got == 0) {
            break;
        }
        if (int error = WriteAll(to.fd(), buffer.data(), static_cast<std::size_t>(got))) {
            return CopyFailure{false, WriteFailure(SystemReason(error))};
        }
        maxBytes -= static_cast<std::uintmax_t>(got);
    }
    if (int error = to.Close()) {
        return CopyFailure{false, WriteFailure(SystemReason(error))};
    }
    return std::nullopt;
}

} // namespace tellavin
