// How the zorp program hands "zorp db ..." to its helper zorp-db, which
// lies at ZORP_DB_HELPER relative to the directory of the zorp program (in
// the build tree as where it is installed).
#pragma once

#include <CLI/CLI.hpp>

namespace zorp::tool {

// True when the first word of the command line that is not an option is
// "db" (the application's own options, --help and --version, may precede it).
bool NamesDbCommand(int argc, char** argv);

// Replaces this process with the helper, given the same arguments. Returns
// only when the helper cannot be started: reports that and returns 1.
int RunDbHelper(char** argv);

// Lists "db" among the commands in zorp --help.
void AddDbCommandEntry(CLI::App& App);

} // namespace zorp::tool
