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

std::string WithHomeExpanded(std::string path, const Platform& platform) {
    const bool tilde = path.starts_with('~') && (path.size() == 1 || path[1] == PathSeparator());
    if (!tilde) {
        return path;
    }
    auto home = platform.GetSpecialFolder(SpecialFolder::Home);
    if (home && !home->empty()) {
        path.replace(0, 1, *home);
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
