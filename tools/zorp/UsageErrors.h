// What a wrong command line is told: one sentence that names the command,
// what is wrong and the command's usage, made from CLI11's error and the
// command's options, so that the command files need nothing of their own:
//
//   zorp: extract: too many arguments; usage: zorp extract [OPTIONS] ARCHIVE [NAME...]
//
// Options that gzip users type by reflex (-d, -1 ... -9) are answered with
// what zorp has instead.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace zorp::tool {

// Raised by a command whose command line cannot be run as it is given (for
// instance -o with several inputs); reported as the parse errors are, with
// the command's usage, and exit status 2.
class UsageError : public CLI::ParseError {
public:
    explicit UsageError(const std::string& Message)
        : CLI::ParseError("UsageError", Message, CLI::ExitCodes::ValidationError) {}
};

// The message, without the leading "zorp: ", for the error E that parsing
// App's command line raised.
std::string UsageErrorMessage(const CLI::App& App, const CLI::ParseError& E);

// The answer, without the leading "zorp: ", to a gzip option that no
// command of App has (-d, -1 ... -9, --fast, --best) among the arguments
// Args (those after the program's name; the value of an option does not
// count), or "" when there is none. Looked for before parsing, since CLI11
// takes "-9" for a number.
std::string ReflexMessage(const CLI::App& App, const std::vector<std::string>& Args);

} // namespace zorp::tool
