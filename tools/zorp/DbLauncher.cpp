#include "tools/zorp/DbLauncher.h"

#include "tools/zorp/Commands.h"

#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <stdexcept>
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

std::string LoadError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

} // namespace

bool NamesDbCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-')
            return std::strcmp(argv[i], DbCommandName) == 0;
    return false;
}

DbModule::DbModule() {
    const std::string path = ProgramDirectory() + ZORP_DB_MODULE;
    FHandle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (FHandle == nullptr)
        throw std::runtime_error("Cannot load \"" + path + "\". " + LoadError());
    FAdd = reinterpret_cast<AddFunction>(dlsym(FHandle, "zorp_add_db_commands"));
    if (FAdd == nullptr) {
        const std::string error = LoadError();
        dlclose(FHandle);
        throw std::runtime_error("Cannot load \"" + path + "\". " + error);
    }
}

DbModule::~DbModule() {
    dlclose(FHandle);
}

void DbModule::AddCommands(CLI::App& App) {
    FAdd(&App);
}

void AddDbCommandEntry(CLI::App& App) {
    App.add_subcommand(DbCommandName, DbCommandDescription);
}

} // namespace zorp::tool
