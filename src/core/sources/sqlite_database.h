#pragma once

#include <memory>
#include <sqlite3.h>
#include <string>

namespace tellavin::sqlite {

// What reading and writing Firefox's database share: an open connection
// closed with its owner, opening one, and running statements whose rows
// are not needed. Compiled only where the build has SQLite.

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

// Opens a database; nothing, with SQLite's reason in failure, when it
// cannot.
Database Open(const std::string& name, int flags, std::string& failure);

// Runs statements whose rows are not needed; SQLite's reason when they fail.
std::string Execute(sqlite3* db, const char* statements);

} // namespace tellavin::sqlite
