#pragma once

#include "sources/store_location.h"

#include <optional>
#include <string_view>

namespace tellavin {

// A store named by "kind:path", or by a bare path whose kind is recognised:
// an existing folder is a Favorites folder; an existing file is Firefox's
// database, a Firefox backup or a Chromium-family "Bookmarks" file by its
// content (DetectBrowserStore), Safari's Bookmarks.plist when it is a binary
// property list ("bplist00") or an XML document naming a plist in its
// first kilobyte, an XBEL file when it is an XML document naming xbel
// there, an Opera hotlist when it starts (after an optional byte order
// mark) with "Opera Hotlist", otherwise a Netscape-format bookmark file; a
// path that does not exist yet is taken by its extension, ".adr" for a
// hotlist, ".html" or ".htm" (in any case) for a bookmark file, ".xbel" for
// an XBEL file. Nothing when the text is empty
// or a missing path has none of these extensions.
std::optional<StoreLocation> RecognizeStoreLocation(std::string_view text);

// Safari's Bookmarks.plist or an XBEL file by the file's first kilobyte, as
// RecognizeStoreLocation tells them; nothing for any other file or one that
// cannot be read.
std::optional<StoreKind> DetectStoreFileKind(const std::string& path);

} // namespace tellavin
