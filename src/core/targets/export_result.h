#pragma once

#include <cstdint>
#include <string>

namespace tellavin {

// What a writer reports back to its caller.
struct ExportResult {
    // False when the target was not written at all; message says why, in
    // lines joined by CR LF, and title is the caption to show it under.
    bool ok = true;
    std::string title;
    std::string message;

    // What was written: folders not counting the root (nor a new folder
    // that wraps the export), and links.
    std::int32_t nFoldersWritten = 0;
    std::int32_t nLinksWritten = 0;

    // A partial success: links that could not be written, and the first
    // failure with its path and the system's reason.
    std::int32_t nLinksNotWritten = 0;
    std::string sFirstFailure;

    // Everything asked for was written.
    bool Complete() const { return ok && nLinksNotWritten == 0 && sFirstFailure.empty(); }

    // Counts one link that could not be written, keeping the first reason.
    void LinkNotWritten(std::string reason) {
        ++nLinksNotWritten;
        NoteFailure(std::move(reason));
    }
    // Keeps the first failure (a folder that could not be created or read).
    void NoteFailure(std::string reason) {
        if (sFirstFailure.empty()) {
            sFirstFailure = std::move(reason);
        }
    }
};

} // namespace tellavin
