#include "platform/file_io.h"
#include "platform/side_by_side.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tellavin {

namespace {

class OpenFile {
public:
    // Opened without waiting, so that a pipe in the file's place is refused
    // instead of blocking the read.
    explicit OpenFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~OpenFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads up to size bytes from offset on; the bytes read, fewer at the end of
// the file, or nothing on an error.
std::optional<std::size_t> ReadAt(int fd, char* into, std::size_t size, std::size_t offset) {
    std::size_t done = 0;
    while (done < size) {
        auto got = ::pread(fd, into + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// Gives the memory its pages in two halves at once, ahead of the read, so
// that the system does not stop the copy for every fresh page. Where the
// system cannot, the pages come as the copy touches them.
void PrepareMemory(char* memory, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(memory) + size) / page * page;
    if (end <= begin) {
        return;
    }
    const auto middle = begin + (end - begin) / 2 / page * page;
    auto populate = [](std::uintptr_t from, std::uintptr_t to) {
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
    };
    RunSideBySide([&] { populate(begin, middle); }, [&] { populate(middle, end); });
#else
    (void)memory;
    (void)size;
#endif
}

// Reads size bytes from the start, half on each of two threads; the bytes
// read (fewer when the file shrank), or nothing on an error.
std::optional<std::size_t> ReadInHalves(int fd, char* into, std::size_t size) {
    const auto half = size / 2;
    std::optional<std::size_t> first;
    std::optional<std::size_t> second;
    RunSideBySide([&] { first = ReadAt(fd, into, half, 0); },
                  [&] { second = ReadAt(fd, into + half, size - half, half); });
    if (!first || !second) {
        return std::nullopt;
    }
    return *first < half ? *first : half + *second;
}

} // namespace

namespace {

// The whole content of an open file, or nothing on an error or, with
// maxBytes, for a file larger than that (which is not read).
std::optional<std::string> ReadOpenFile(const OpenFile& file,
                                        std::optional<std::uintmax_t> maxBytes) {
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    // The size the file had is read straight into the string; a file that
    // grew since is read on in blocks, one that shrank is cut.
    const auto size = static_cast<std::size_t>(info.st_size);
    if (maxBytes && size > *maxBytes) {
        return std::nullopt;
    }
    std::string content;
    std::optional<std::size_t> got;
    if (size >= kSideBySideBytes) {
        content.reserve(size);
        PrepareMemory(content.data(), size);
        content.resize(size);
        got = ReadInHalves(file.fd(), content.data(), size);
    } else {
        content.resize(size);
        got = ReadAt(file.fd(), content.data(), size, 0);
    }
    if (!got) {
        return std::nullopt;
    }
    content.resize(*got);
    char block[1 << 16];
    for (;;) {
        auto more = ReadAt(file.fd(), block, sizeof block, content.size());
        if (!more) {
            return std::nullopt;
        }
        if (*more == 0) {
            return content;
        }
        if (maxBytes && content.size() + *more > *maxBytes) {
            return std::nullopt;
        }
        content.append(block, *more);
    }
}

// The first bytes of an open regular file, at most maxBytes.
std::optional<std::string> ReadOpenFileStart(const OpenFile& file, std::size_t maxBytes) {
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string start(maxBytes, '\0');
    auto got = ReadAt(file.fd(), start.data(), maxBytes, 0);
    if (!got) {
        return std::nullopt;
    }
    start.resize(*got);
    return start;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadOpenFile(OpenFile(path), std::nullopt);
}

// One open file answers both the size and the content: no second look-up
// of the path, which costs as much as the read on the small files of a
// Favorites folder.
std::optional<std::string> ReadSmallFile(const std::string& path, std::uintmax_t maxBytes) {
    return ReadOpenFile(OpenFile(path), maxBytes);
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes) {
    return ReadOpenFileStart(OpenFile(path), maxBytes);
}

} // namespace tellavin
