#include "support/ToolRunner.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace zorp::test {

Outcome RunZorp(const std::string& Args) {
    return RunCommand(std::string(ZORP_TOOL) + " " + Args);
}

Outcome RunZorpInjected(const std::string& Inject, const std::string& Args,
                        const std::string& Trace) {
    // The leak checker stops the program's threads with ptrace at exit,
    // which a traced program cannot have.
    return RunCommand("ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o /dev/null " + Trace +
                      " -e inject=" + Inject + " " + ZORP_TOOL + " " + Args);
}

bool CanInjectFaults() {
    static const bool can =
        RunCommand("strace -f -qq -o /dev/null -e inject=getppid:error=EPERM true").Status == 0;
    return can;
}

Outcome RunCommand(const std::string& Command) {
    const std::string command = "{ " + Command + "; } 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        out.append(buf.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string Quote(const std::string& Path) {
    return "'" + Path + "'";
}

} // namespace zorp::test
