#pragma once

#include <string>
#include <string_view>

namespace tellavin {

struct WriteResult {
    bool ok = true;
    std::string message; // on failure: the path and the system's reason
};

// Replaces the file at path with bytes, or creates it, so that a reader
// sees either the old or the whole new content: the bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the target.
// An existing target keeps its permissions, and its owner and group where
// the system lets the writer give them away; a target that is a symbolic
// link is replaced where the link points and the link stays. On failure the
// old file is untouched and the temporary file removed. flushToDisk false skips the
// flush, for writers of many small files where one flush per file would
// cost more than the write; the rename still never shows a partial file.
WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes,
                                bool flushToDisk = true);

// The reason a write into a folder that must not follow symbolic links
// gives when one has the name to be written.
inline constexpr const char* kSymbolicLinkInPlace = "a symbolic link is in its place";

// As WriteFileAtomically, but a symbolic link at path is never followed:
// the write fails, naming the link, and the link and what it points to stay
// as they are. For writers into a folder whose links another user may have
// planted.
WriteResult WriteFileAtomicallyNotFollowing(const std::string& path, std::string_view bytes,
                                            bool flushToDisk = true);

} // namespace tellavin
