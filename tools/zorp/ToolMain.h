// What the zorp program and its database helper share: the application with
// its name, title and --version, and how a command line ends. Errors are
// reported as one line "zorp: <message>" with exit status 1; a wrong command
// line is one sentence with the command's usage and exit status 2 (see
// UsageErrors.h). An error that wraps another (std::nested_exception, as
// EInsufficientDiskSpace wraps the write error that caused it) is reported
// by its innermost cause, which names the file and the system's reason.
#pragma once

#include <CLI/CLI.hpp>

#include <exception>
#include <memory>
#include <string>

namespace zorp::tool {

// Raised by a command that has already reported its problems on standard
// error and went on where it could: the program then exits with status 1
// without another message.
class EarlierErrors : public std::exception {
public:
    const char* what() const noexcept override { return "errors were reported"; }
};

// The message that reports E: that of the innermost exception E wraps.
std::string ErrorMessage(const std::exception& E);

// The application without commands.
std::unique_ptr<CLI::App> MakeApp();

// Parses the command line and runs the command it names; returns the exit
// status.
int RunApp(CLI::App& App, int argc, char** argv);

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files the program
// has under a name of their own before it ends.
void RemoveTemporaryFilesOnSignals();

} // namespace zorp::tool
