#include "platform/running_process.h"

#include "text/ascii_text.h"

#include <algorithm>

namespace tellavin {

namespace {
std::string_view WithoutFolder(std::string_view name) {
    auto separator = name.find_last_of("/\\");
    return separator == std::string_view::npos ? name : name.substr(separator + 1);
}
} // namespace

std::optional<bool> IsProcessRunning(const Platform& platform,
                                     std::span<const std::string_view> names) {
    auto running = platform.ListProcessNames();
    if (!running) {
        return std::nullopt;
    }
    return std::any_of(running->begin(), running->end(), [&](const std::string& listed) {
        return std::any_of(names.begin(), names.end(), [&](std::string_view name) {
            return EqualsIgnoringCase(WithoutFolder(listed), name);
        });
    });
}

std::optional<bool> IsProcessRunning(const Platform& platform, std::string_view name) {
    return IsProcessRunning(platform, std::span<const std::string_view>(&name, 1));
}

} // namespace tellavin
