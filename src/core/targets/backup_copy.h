#pragma once

#include "platform/atomic_file.h"

#include <ctime>
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

// The backup of a browser's own store, kept beside it and never replaced:
// the file's name, ".tellavin-backup-" and the local time of the export,
// /p/Bookmarks giving /p/Bookmarks.tellavin-backup-20261208-101500.
std::string TimedBackupPathFor(const std::string& store, std::time_t moment);

// Copies a browser's store to a backup of its own: TimedBackupPathFor, or
// with "-2", "-3", ... after it when an export in the same second made that
// one already. An existing file is never replaced, and a copy cut short is
// removed. The backup's path, or on failure the path tried and the
// system's reason.
struct TimedBackup {
    bool ok = false;
    std::string path;
    std::string reason;
};
TimedBackup MakeTimedBackup(const std::string& store, std::time_t moment);

} // namespace tellavin
