#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// The caption and first line of the result when the file cannot be written.
inline constexpr const char* kXbelWriteErrorTitle = "Error";
inline constexpr const char* kXbelWriteErrorText = "Error Writing the XBEL File.";

// Writes the tree as an XBEL 1.0 file, UTF-8 with the XBEL document type:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <!DOCTYPE xbel PUBLIC "+//IDN python.org//DTD XML Bookmark Exchange
//     Language 1.0//EN//XML" "http://pyxml.sourceforge.net/topics/dtds/xbel.dtd">
//   <xbel version="1.0">
//     <folder>
//       <title>folder</title>
//       <bookmark href="address" added="2026-12-08T10:00:00Z">
//         <title>link</title>
//       </bookmark>
//       <separator/>
//     </folder>
//   </xbel>
//
// The root is the xbel element; the new folder, when asked for, is a
// folder holding the export. A link's creation and change dates are its
// "added" and "modified" (UTC), a folder's creation date its "added", each
// only when known, and a description is a desc after the title. XBEL has
// no place for a folder's change date, a keyword or tags: each is noted as
// dropped. With the source's
// order kept a separator is a separator element at its place; otherwise
// folders come in display order with the links sorted by GetFolderLinks
// before or after them. XBEL has no toolbar folder: one is written as an
// ordinary folder and noted (LossKind::ToolbarNotMarked). Text and
// attributes have "&", "<", ">", '"' and "'" written as entities, tabs and
// line breaks as character references (so reading gives them back); the
// other control characters, which XML cannot hold, are left out of names
// and percent-encoded in addresses, so no link loses its address. Nesting
// indents by two spaces up to a limit.
//
// An XBEL file is always replaced whole: the export goes into a temporary
// file that replaces the destination in one step once it is whole, so a
// failure leaves the old file as it was; the result then holds
// kXbelWriteErrorText, the path and the system's reason. An export
// cancelled through progress leaves the old file as it was. The status
// text shows each folder as it is written.
ExportResult WriteXbelFile(BookmarkTree& tree, const std::string& destination,
                           const WriteOptions& options, ProgressSink& progress);

namespace detail {
// Appends text escaped for XBEL's text and attribute values; the control
// characters XML cannot hold are left out of a name and percent-encoded in
// an address.
void AppendXbelText(std::string& out, std::string_view text, bool address);
// Seconds since 1970 UTC as "YYYY-MM-DDThh:mm:ssZ".
std::string XbelDateText(std::int64_t seconds);
} // namespace detail

} // namespace tellavin
