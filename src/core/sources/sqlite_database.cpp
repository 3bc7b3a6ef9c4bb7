#include "sources/sqlite_database.h"

namespace tellavin::sqlite {

Database Open(const std::string& name, int flags, std::string& failure) {
    sqlite3* raw = nullptr;
    int opened = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (opened != SQLITE_OK) {
        failure = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(opened);
        db.reset();
    }
    return db;
}

std::string Execute(sqlite3* db, const char* statements) {
    char* error = nullptr;
    int result = sqlite3_exec(db, statements, nullptr, nullptr, &error);
    std::string why = result == SQLITE_OK ? "" : error != nullptr ? error : sqlite3_errstr(result);
    sqlite3_free(error);
    return why;
}

} // namespace tellavin::sqlite
