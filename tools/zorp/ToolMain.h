// What the zorp program and its database helper share: the application with
// its name, title and --version, and how a command line ends. Errors are
// reported as one line "zorp: <message>" with exit status 1 (2 for a wrong
// command line).
#pragma once

#include <CLI/CLI.hpp>

#include <memory>

namespace zorp::tool {

// The application without commands.
std::unique_ptr<CLI::App> MakeApp();

// Parses the command line and runs the command it names; returns the exit
// status.
int RunApp(CLI::App& App, int argc, char** argv);

} // namespace zorp::tool
