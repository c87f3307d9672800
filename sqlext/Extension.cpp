// The extension's entry point, which SQLite finds by the file's name
// (libzorpsqlite: sqlite3_zorpsqlite_init) when the sqlite3 shell's .load,
// load_extension() or sqlite3_load_extension loads it. It is the only
// symbol the library exports (exports.map).
#include "framework/base/Export.h"
#include "sqlext/SqlFunctions.h"
#include "sqlext/SqliteApi.h"

#include <exception>

SQLITE_EXTENSION_INIT1

extern "C" ZORP_API int sqlite3_zorpsqlite_init(sqlite3* Db, char** ErrorMessage,
                                                const sqlite3_api_routines* Api) {
    SQLITE_EXTENSION_INIT2(Api);
    try {
        return zorp::sql::RegisterFunctions(Db);
    } catch (const std::exception& e) { // no memory for the connection's component
        if (ErrorMessage != nullptr)
            *ErrorMessage = sqlite3_mprintf("%s", e.what());
        return SQLITE_NOMEM;
    }
}
