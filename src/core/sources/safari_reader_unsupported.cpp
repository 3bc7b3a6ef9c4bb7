#include "sources/safari_reader.h"

namespace tellavin {

// Built instead of the libplist reader when the target has no libplist:
// the file is named unreadable, with the reason, and nothing is pushed.
std::string ParseSafariBookmarks(std::string_view, BookmarkSink&) {
    return kSafariUnsupported;
}

std::string LoadSafariBookmarks(const std::string&, BookmarkSink&) {
    return kSafariUnsupported;
}

} // namespace tellavin
