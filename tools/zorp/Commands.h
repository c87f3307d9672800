// The tool's commands. Each Add... function registers one group of
// subcommands on the application; their callbacks raise on failure.
#pragma once

#include <CLI/CLI.hpp>

namespace zorp::tool {

// compress and expand: single files as one compressed stream.
void AddStreamCommands(CLI::App& App);

// add, list, extract, delete, test and cat: multi-file archives.
void AddArchiveCommands(CLI::App& App);

// resource add, list and extract: compressed resources of modules.
void AddResourceCommands(CLI::App& App);

// db pack, unpack, stat, get and put: compressed values in SQLite columns.
// Only the helper zorp-db has them (see DbLauncher.h).
void AddDbCommands(CLI::App& App);
inline constexpr const char* DbCommandName = "db";
inline constexpr const char* DbCommandDescription = "Compressed values in SQLite columns";

} // namespace zorp::tool
