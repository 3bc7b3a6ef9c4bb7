#pragma once

#include "model/user_message.h"

#include <optional>
#include <string>
#include <string_view>

namespace tellavin {

// Merging an export into an existing Netscape-format bookmark file.
//
// The export (a whole "<DL><p> ... </DL><p>" list) goes inside the file's
// root list, just before the tag that closes it, found by reading the file
// as HTML: a "</DL>" in a comment or a script is none, and "</dl >" is one.
// Everything else stays byte for byte, the part after the root list too.
// When the root list is never closed the export goes at the end of the
// file. The merged file is UTF-8: a file that was Windows-1252 is
// converted, and the charset its META tag declares becomes UTF-8 (a file
// without one gets the META line of a new file). Before the text is handed
// back it is read again: it must hold every link of the old file and of
// the export, each in its own folder.
//
// Returns the merged text, or nothing with the refusal: the file cannot be
// read, holds no bookmark list, or the merge would not read back whole.
std::optional<std::string> MergeIntoBookmarkFile(const std::string& destination,
                                                 std::string_view exportList, UserMessage& refusal);

} // namespace tellavin
