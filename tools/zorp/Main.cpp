// zorp: compression from the shell. The db commands come from a module that
// is loaded only when the command line names them (see DbLauncher.h).
#include "tools/zorp/Commands.h"
#include "tools/zorp/DbLauncher.h"
#include "tools/zorp/ToolMain.h"

#include <cstdio>
#include <exception>
#include <optional>

int main(int argc, char** argv) {
    zorp::tool::RemoveTemporaryFilesOnSignals();
    std::optional<zorp::tool::DbModule> db; // outlives the application below
    if (zorp::tool::NamesDbCommand(argc, argv)) {
        try {
            db.emplace();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "zorp: %s\n", e.what());
            return 1;
        }
    }
    const std::unique_ptr<CLI::App> app = zorp::tool::MakeApp();
    zorp::tool::AddStreamCommands(*app);
    zorp::tool::AddArchiveCommands(*app);
    zorp::tool::AddResourceCommands(*app);
    if (db)
        db->AddCommands(*app);
    else
        zorp::tool::AddDbCommandEntry(*app);
    return zorp::tool::RunApp(*app, argc, argv);
}
