// What the db commands take from the command line.
#pragma once

#include "tools/zorp/DbColumn.h"

#include <string>

namespace zorp::tool {

struct DbOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    ColumnName Name;
    std::string Row; // get and put: a rowid (SQLite) or a primary key value (PostgreSQL)
    std::string File;
    bool Quiet = false;
    bool NoVacuum = false;
};

} // namespace zorp::tool
