// zorp-db: the helper that runs "zorp db ..." for the zorp program, with the
// same command line. It links the database package; zorp does not.
#include "tools/zorp/Commands.h"
#include "tools/zorp/ToolMain.h"

int main(int argc, char** argv) {
    const std::unique_ptr<CLI::App> app = zorp::tool::MakeApp();
    zorp::tool::AddDbCommands(*app);
    return zorp::tool::RunApp(*app, argc, argv);
}
