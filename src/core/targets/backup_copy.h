#pragma once

#include <string>

namespace tellavin {

// The backup of a bookmark file sits beside it, named "Backup_of_" and the
// file's name: /x/bookmarks.html gives /x/Backup_of_bookmarks.html.
std::string BackupPathFor(const std::string& destination);

// Copies the destination to its backup path before an export overwrites it.
// Returns false when there was nothing to copy or the copy failed; the
// export goes on either way.
bool MakeBackupCopy(const std::string& destination);

} // namespace tellavin
