#include "support/ToolRunner.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace zorp::test {

Outcome RunZorp(const std::string& Args) {
    const std::string command = std::string(ZORP_TOOL) + " " + Args + " 2>&1";
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
