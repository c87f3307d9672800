// SQLite's API as the extension sees it: every sqlite3_ call goes through
// the routines of the connection that loaded the extension (the pointer
// Extension.cpp defines and its entry point sets), so the extension links
// no SQLite of its own.
#pragma once

#include <sqlite3ext.h>

SQLITE_EXTENSION_INIT3
