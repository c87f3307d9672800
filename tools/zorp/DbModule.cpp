// The module zorp-db.so: the db commands, loaded by the zorp program only
// for "zorp db ..." (see DbLauncher.h).
#include "tools/zorp/Commands.h"

// What the zorp program looks up after loading the module.
extern "C" void zorp_add_db_commands(CLI::App* App) {
    zorp::tool::AddDbCommands(*App);
}
