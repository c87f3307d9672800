// The db commands on a PostgreSQL table, taken when the database is given
// as a libpq connection string.
#pragma once

#include "tools/zorp/DbOptions.h"

#include <sstream>
#include <stdexcept>
#include <string>

namespace zorp::tool {

// Whether Database names a PostgreSQL database: a postgresql:// or
// postgres:// URI, or a keyword string with a dbname= or host= word. A
// file name holding such text elsewhere ("/tmp/host=a.db") stays a file.
inline bool IsPGConnection(const std::string& Database) {
    if (Database.rfind("postgresql://", 0) == 0 || Database.rfind("postgres://", 0) == 0)
        return true;
    std::istringstream words(Database);
    for (std::string word; words >> word;)
        if (word.rfind("dbname=", 0) == 0 || word.rfind("host=", 0) == 0)
            return true;
    return false;
}

#ifdef ZORP_TOOL_PG
void PGPack(const DbOptions& O);
void PGUnpack(const DbOptions& O);
void PGStat(const DbOptions& O);
void PGGet(const DbOptions& O);
void PGPut(const DbOptions& O);
#else
// Built without libpq: every command on PostgreSQL says so.
[[noreturn]] inline void WithoutPG(const DbOptions& O) {
    throw std::runtime_error(O.Name.Database + ": this zorp was built without PostgreSQL");
}
inline void PGPack(const DbOptions& O) {
    WithoutPG(O);
}
inline void PGUnpack(const DbOptions& O) {
    WithoutPG(O);
}
inline void PGStat(const DbOptions& O) {
    WithoutPG(O);
}
inline void PGGet(const DbOptions& O) {
    WithoutPG(O);
}
inline void PGPut(const DbOptions& O) {
    WithoutPG(O);
}
#endif

} // namespace zorp::tool
