#pragma once

#include <cstddef>
#include <system_error>
#include <thread>

namespace tellavin {

// A pass over this many bytes or more (reading a file, checking its text)
// is worth a second thread; below it, starting one costs more than it gains.
inline constexpr std::size_t kSideBySideBytes = std::size_t{32} << 20;

// Runs first on this thread and second on another, at the same time, and
// returns when both are done; runs both here when no thread can be had.
// For the big passes over a whole file (reading it, checking its text),
// which then take a core each.
template <typename First, typename Second> void RunSideBySide(First first, Second second) {
    std::thread other;
    try {
        other = std::thread(second);
    } catch (const std::system_error&) {
        first();
        second();
        return;
    }
    first();
    other.join();
}

} // namespace tellavin
