#pragma once

#include "platform/scratch_folder.h"
#include "sources/sqlite_database.h"

#include <functional>
#include <string>

namespace tellavin::sqlite {

// A copy of a browser's database opened for reading, or why there is none.
struct OpenedCopy {
    Database db;
    std::string failure;
};

// The reason given when a database kept changing while it was copied.
inline constexpr const char* kBeingWritten = "the database is being written by another program";

// Copies the database at path into the scratch folder (as stem.sqlite or
// stem-N.sqlite) and opens the copy, so that a running browser neither
// waits for the reading nor sees it. The copy holds one committed state,
// changes still only in the write-ahead log included:
// - When SQLite can read the database in place, SQLite's online backup
//   copies it, under SQLite's own locks, as of the moment it began.
// - When it cannot (a running browser holds the database exclusively, or
//   another program's write left a journal to roll back), the database file
//   is copied, then its log (as far as the log's current frames go) and its
//   journal; SQLite opens the copy, reads the log and rolls an unfinished
//   write back from the journal. The copy is taken only when none of the
//   three files changed while it was made; else it is made again, a few
//   times, and then the failure is kBeingWritten.
// duringCopy is called while a copy is under way.
OpenedCopy OpenConsistentCopy(const std::string& path, ScratchFolder& scratch,
                              const std::string& stem, const std::function<void()>& duringCopy);

} // namespace tellavin::sqlite
