#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tellavin {

// The caption and first line of the result when the file cannot be written.
inline constexpr const char* kNetscapeWriteErrorTitle = "Error";
inline constexpr const char* kNetscapeWriteErrorText = "Error Writing the Bookmark File.";

// Writes the tree as a Netscape-format bookmark file, the HTML that Firefox
// and Chromium import and export:
//
//   <!DOCTYPE NETSCAPE-Bookmark-file-1>, the header comment, the UTF-8 META
//   line, "<TITLE>Bookmarks for " + profile + "</TITLE>" and the same as H1
//   <DL><p>
//       <DT><H3 FOLDED ADD_DATE="">folder</H3>
//       <DL><p>
//           <DT><A HREF="address">link</A>
//       </DL><p>
//   </DL><p>
//
// The root list is opened and closed once, as Firefox and Chromium write
// theirs. A link with dates carries ADD_DATE and LAST_MODIFIED (seconds
// since 1970) after its address, each only when known; with the source's
// order kept a separator is an "<HR>" line at its place. A tree without
// dates, toolbar and separators gives the same file either way.
//
// The toolbar folder's heading carries PERSONAL_TOOLBAR_FOLDER="true" when
// it lands at the top level of the file, and only the first such folder's
// does (none after a new folder, nor in a merge into a file whose top level
// has a toolbar folder already): Firefox imports nothing from a file with
// a marked folder below another. Any other toolbar folder is written as an
// ordinary one and noted as a loss (LossKind::ToolbarNotMarked).
//
// Every line ends with CR LF, the whole file is UTF-8, and nesting indents
// by four spaces (up to a limit, so a very deep tree does not make the file
// grow with the square of its depth). Folders come in display order, links
// sorted by GetFolderLinks; a folder is written when it is checked or
// everything is exported, and a checked folder below an unchecked one lands
// in the nearest written ancestor. Names have "&", "<", ">" and '"' written
// as entities; in addresses '"' is written as %22 and an "&" that would read
// as a character reference as "&amp;", so that reading the file gives back
// every name and address.
//
// Merging adds the export's folders and links to the old file's root list
// and keeps the rest of the file (BookmarkFileMerge); a file it cannot
// merge into is refused and left as it was. Unless options.keepDuplicates,
// a folder of the export (the new folder too) whose path of names the file
// holds already is joined with the file's folder, and a link whose address
// the joined folder holds is left out (MergePlan on the file's tree); the
// result counts both. The file is replaced in one
// step (a temporary file renamed over it), so a failure never leaves it
// half-written. The status text shows each folder as it is written.
ExportResult PrintBookmarkFile(BookmarkTree& tree, const std::string& destination,
                               const WriteOptions& options, ProgressSink& progress);

} // namespace tellavin
