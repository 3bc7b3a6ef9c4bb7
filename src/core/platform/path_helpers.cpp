#include "platform/platform.h"

namespace tellavin {

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string EnsureTrailingSeparator(std::string path) {
    if (path.empty() || path.back() != PathSeparator()) {
        path.push_back(PathSeparator());
    }
    return path;
}

std::string StripAtNull(std::string text) {
    auto nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

} // namespace tellavin
