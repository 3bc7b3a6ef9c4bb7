#pragma once

#include "platform/atomic_file.h"

#include <string>

namespace tellavin {

// The backup of a bookmark file sits beside it, named "Backup_of_" and the
// file's name: /x/bookmarks.html gives /x/Backup_of_bookmarks.html.
std::string BackupPathFor(const std::string& destination);

// Copies the destination to its backup path before an export overwrites it,
// replacing an older backup in one step. On failure the message names the
// file that could not be read or the backup that could not be written, with
// the system's reason.
WriteResult MakeBackupCopy(const std::string& destination);

} // namespace tellavin
