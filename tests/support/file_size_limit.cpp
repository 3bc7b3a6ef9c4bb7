#include "support/file_size_limit.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tellavin::test {

std::optional<std::string> RunWithFileSizeLimit(std::size_t maxBytes,
                                                const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return std::nullopt;
    }
    pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
        rlimit limit{maxBytes, maxBytes};
        int status = ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? 0 : 1;
        if (status == 0) {
            auto text = body();
            for (std::size_t sent = 0; sent < text.size();) {
                auto n = ::write(channel[1], text.data() + sent, text.size() - sent);
                if (n <= 0) {
                    status = 1;
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
        }
        ::close(channel[1]);
        ::_exit(status);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return text;
}

} // namespace tellavin::test
