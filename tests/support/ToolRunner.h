// Runs the zorp tool as a subprocess through the shell.
#pragma once

#include <string>

namespace zorp::test {

struct Outcome {
    int Status;         // exit status, -1 when killed
    std::string Output; // standard output and standard error together
};

// Runs "zorp ARGS" (ARGS may hold redirections and pipes).
Outcome RunZorp(const std::string& Args);
// Single-quotes a path for the shell.
std::string Quote(const std::string& Path);

} // namespace zorp::test
