// How the zorp program gets its db commands: from the module zorp-db.so,
// loaded only when the command line names them, so that the other commands
// start without SQLite and the database and control libraries. The module
// lies at ZORP_DB_MODULE relative to the directory of the zorp program (in
// the build tree as where it is installed).
#pragma once

#include <CLI/CLI.hpp>

namespace zorp::tool {

// True when the first word of the command line that is not an option is
// "db" (the application's own options, --help and --version, may precede it).
bool NamesDbCommand(int argc, char** argv);

// The loaded module; it stays loaded until this object goes, which must be
// after the application that holds its commands.
class DbModule {
public:
    // Loads the module; raises std::runtime_error when it cannot.
    DbModule();
    ~DbModule();
    DbModule(const DbModule&) = delete;
    DbModule& operator=(const DbModule&) = delete;

    // Adds the db command and its subcommands.
    void AddCommands(CLI::App& App);

private:
    using AddFunction = void (*)(CLI::App*);
    void* FHandle;
    AddFunction FAdd;
};

// Lists "db" among the commands in zorp --help without loading the module.
void AddDbCommandEntry(CLI::App& App);

} // namespace zorp::tool
