// zorp: compression from the shell. The database commands run in a helper
// program of their own (see DbLauncher.h), so that the other commands start
// without loading SQLite and the database and control libraries.
#include "tools/zorp/Commands.h"
#include "tools/zorp/DbLauncher.h"
#include "tools/zorp/ToolMain.h"

int main(int argc, char** argv) {
    if (zorp::tool::NamesDbCommand(argc, argv))
        return zorp::tool::RunDbHelper(argv);
    const std::unique_ptr<CLI::App> app = zorp::tool::MakeApp();
    zorp::tool::AddStreamCommands(*app);
    zorp::tool::AddArchiveCommands(*app);
    zorp::tool::AddResourceCommands(*app);
    zorp::tool::AddDbCommandEntry(*app);
    return zorp::tool::RunApp(*app, argc, argv);
}
