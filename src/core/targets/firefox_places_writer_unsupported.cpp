#include "targets/firefox_places_writer.h"

namespace tellavin {

// Built instead of the SQLite writer when the target has no SQLite: every
// write is refused with the build's reason, and nothing is touched.
ExportResult WriteFirefoxPlaces(BookmarkTree&, const std::string& placesFile, const WriteOptions&,
                                std::time_t, ProgressSink&) {
    Outcome outcome;
    outcome.kind = OutcomeKind::WriteFailed;
    outcome.path = placesFile;
    outcome.reason = kFirefoxPlacesWriteUnsupported;
    return ExportResult::Refused(std::move(outcome));
}

} // namespace tellavin
