#pragma once

#include <string_view>

namespace tellavin {

// The display order of folder names, used by the tree, by every writer and
// by the windows, so that the screen and each written file agree. Letters
// compare without regard to case, and the accented Latin letters sort with
// their base letter (É with E); names equal under that rule fall back to
// byte order so the order is total.
int CompareDisplayNames(std::string_view a, std::string_view b);

inline bool DisplayNameLess(std::string_view a, std::string_view b) {
    return CompareDisplayNames(a, b) < 0;
}

} // namespace tellavin
