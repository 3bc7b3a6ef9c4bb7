#include "platform/profile_lock.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace tellavin {

namespace {

std::optional<std::string> ThisHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return std::nullopt;
    }
    return std::string(name);
}

// A process lives when a signal could be sent to it, even one of another
// user that this one may not signal.
bool ProcessLives(std::int64_t pid) {
    if (pid > static_cast<std::int64_t>(INT_MAX)) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::optional<bool> ChromiumHoldsUserData(const std::string& userDataFolder) {
    auto lock = userDataFolder + "/SingletonLock";
    char target[PATH_MAX + 1] = {};
    auto length = ::readlink(lock.c_str(), target, sizeof target - 1);
    if (length < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        return std::nullopt;
    }
    auto owner =
        detail::ParseSingletonLock(std::string_view(target, static_cast<std::size_t>(length)));
    auto host = ThisHostName();
    if (!owner || !host) {
        return std::nullopt;
    }
    return owner->host == *host && ProcessLives(owner->pid);
}

} // namespace tellavin
