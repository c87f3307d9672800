#include "tools/zorp/DbLauncher.h"

#include "tools/zorp/Commands.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace zorp::tool {

namespace {

// The directory of the running program, with a final slash.
std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "";
    const std::string exe(path, static_cast<size_t>(n));
    return exe.substr(0, exe.rfind('/') + 1);
}

} // namespace

bool NamesDbCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            return std::strcmp(argv[i], DbCommandName) == 0;
    return false;
}

int RunDbHelper(char** argv) {
    const std::string helper = ProgramDirectory() + ZORP_DB_HELPER;
    execv(helper.c_str(), argv);
    std::fprintf(stderr, "zorp: Cannot run \"%s\". %s\n", helper.c_str(), std::strerror(errno));
    return 1;
}

void AddDbCommandEntry(CLI::App& App) {
    App.add_subcommand(DbCommandName, DbCommandDescription);
}

} // namespace zorp::tool
