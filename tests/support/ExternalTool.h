// Running command-line peers (lhasa, bsdtar, jlha) from tests.
//
// ZORP_REQUIRE_TOOL("lhasa") at the top of a test skips the test when the
// tool is not installed, except on the CI machine (environment variable CI
// set), where a missing tool is a failure.
#pragma once

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace zorp::test {

// True when Name is found on PATH as an executable.
inline bool ToolAvailable(const std::string& Name) {
    const std::string command = "command -v '" + Name + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Runs a shell command with stdin from /dev/null and its output appended to
// LogFile; returns the exit status (-1 when it did not exit normally).
inline int RunTool(const std::string& Command, const std::string& LogFile) {
    const std::string line = "(" + Command + ") </dev/null >>'" + LogFile + "' 2>&1";
    const int status = std::system(line.c_str());
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace zorp::test

#define ZORP_REQUIRE_TOOL(Name)                                                                    \
    do {                                                                                           \
        if (!::zorp::test::ToolAvailable(Name)) {                                                  \
            if (std::getenv("CI") != nullptr)                                                      \
                FAIL() << (Name) << " is required on CI but not installed";                        \
            GTEST_SKIP() << (Name) << " is not installed";                                         \
        }                                                                                          \
    } while (0)
