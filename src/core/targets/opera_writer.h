#pragma once

#include "model/bookmark_tree.h"
#include "model/export_result.h"
#include "model/progress.h"
#include "model/write_options.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tellavin {

// The caption and first line of the result when the hotlist cannot be
// read or written.
inline constexpr const char* kOperaWriteErrorTitle = "Error";
inline constexpr const char* kOperaWriteErrorText = "Error Opening the Bookmark File.";

// Writes the tree as an Opera hotlist at destination.
//
// A new file starts with the header lines "Opera Hotlist version 2.0",
// "Options:encoding=utf8,version=3" and an empty line; with merge the old
// content stays byte for byte and the new blocks follow it (after a line
// end when the old file does not end with one). Unless
// options.keepDuplicates, a merge joins the export's folders (the new
// folder too) with the hotlist's of the same path of names, their new
// blocks going just before the "-" line that ends the hotlist's folder, and
// leaves out the links whose address the joined folder holds (MergePlan);
// the result counts both. Each written folder is a
// "#FOLDER" block with NAME and "ORDER = -1 ", its links and sub-folders,
// and an end line "-"; the root is entered without a block. Each link is a
// "#URL" block with NAME, URL and "ORDER = -2 " when links come before the
// sub-folders, "ORDER =  0 " otherwise. Lines end in CR LF. Names and
// addresses are UTF-8, as the header says; a line break inside one is
// written as the bytes 0x02 0x02, as Opera writes it, so it cannot break
// the file. A link with a creation date has a CREATED line after its URL,
// the toolbar folder an "ON PERSONALBAR=YES" line after its NAME, and with
// the source's order kept a separator is a "#SEPERATOR" block at its place.
// A hotlist has no change date: a link's is noted as a loss.
//
// The file is written while it is composed, into a temporary file that
// replaces the destination in one step once it is whole, so a failure
// leaves the old file as it was; the result then holds
// kOperaWriteErrorText, the path and the system's reason. The status text
// shows each folder as it is written.
ExportResult PrintHotlistFile(BookmarkTree& tree, const std::string& destination,
                              const WriteOptions& options, ProgressSink& progress);

namespace detail {
// "-1 ", "-2 ", " 0 ": a sign (a space for 0 and above), the digits and a
// space, as the ORDER lines carry them.
std::string OrderText(std::int32_t order);
// Appends the text of a field value: every line break (CR LF, CR or LF)
// becomes the bytes 0x02 0x02.
void AppendFieldText(std::string& out, std::string_view value);
} // namespace detail

} // namespace tellavin
