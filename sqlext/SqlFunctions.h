// The SQL functions of the extension: zorp_compress, zorp_expand,
// zorp_expand_text, zorp_size, zorp_method and zorp_is_compressed.
#pragma once

#include "sqlext/SqliteApi.h"

namespace zorp::sql {

// Adds the functions to the connection Db; returns SQLite's result code of
// the first registration that fails, or SQLITE_OK.
int RegisterFunctions(sqlite3* Db);

} // namespace zorp::sql
