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
// Runs a shell command line (ZORP_TOOL names the tool in it).
Outcome RunCommand(const std::string& Command);

// Runs "zorp ARGS" under strace with the fault injection Inject (strace's
// -e inject=...), for instance "fsync:signal=KILL" or
// "read:error=EIO:when=3"; Trace adds other strace options, such as -P PATH
// to inject only on system calls that touch PATH.
Outcome RunZorpInjected(const std::string& Inject, const std::string& Args,
                        const std::string& Trace = "");
// True when strace can trace and inject here (it is installed and ptrace is
// allowed); tests that need it skip otherwise.
bool CanInjectFaults();
// Single-quotes a path for the shell.
std::string Quote(const std::string& Path);

} // namespace zorp::test
