#include "platform/profile_lock.h"

#include <charconv>

namespace tellavin::detail {

std::optional<SingletonLockOwner> ParseSingletonLock(std::string_view target) {
    auto dash = target.rfind('-');
    if (dash == std::string_view::npos || dash == 0) {
        return std::nullopt;
    }
    auto digits = target.substr(dash + 1);
    std::int64_t pid = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        pid <= 0) {
        return std::nullopt;
    }
    return SingletonLockOwner{std::string(target.substr(0, dash)), pid};
}

} // namespace tellavin::detail
