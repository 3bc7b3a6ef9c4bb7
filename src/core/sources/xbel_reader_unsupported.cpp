#include "sources/xbel_reader.h"

namespace tellavin {

// Built instead of the pugixml reader when the target has no pugixml: the
// file is named unreadable, with the reason, and nothing is pushed.
std::string ParseXbel(std::string_view, BookmarkSink&) {
    return kXbelUnsupported;
}

std::string LoadXbelFile(const std::string&, BookmarkSink&) {
    return kXbelUnsupported;
}

} // namespace tellavin
