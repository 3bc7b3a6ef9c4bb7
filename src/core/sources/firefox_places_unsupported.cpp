#include "sources/firefox_places_reader.h"

namespace tellavin {

// Built instead of the SQLite reader when the target has no SQLite: the
// database is named unreadable, with the reason, and nothing is pushed.
std::string LoadFirefoxPlaces(const std::string&, BookmarkSink&) {
    return kFirefoxPlacesUnsupported;
}

} // namespace tellavin
