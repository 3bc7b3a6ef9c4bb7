#pragma once

#include <array>
#include <cstdint>

namespace tellavin {

// The eight colours of a menu page, slots 0 to 7, each a number from 0 to
// 16777215 with red in the low byte.
using MenuColors = std::array<std::uint32_t, 8>;

// The colours the user edits by hand, as every menu window starts them.
inline constexpr MenuColors kCustomColors = {16777215, 0, 7091712, 33023, 0, 0, 13077057, 6960384};

} // namespace tellavin
