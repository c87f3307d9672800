#include "tools/zorp/ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace zorp::tool {

ProgressBar::ProgressBar(std::string Label, bool Quiet)
    : FLabel(std::move(Label)), FEnabled(!Quiet && isatty(STDERR_FILENO) != 0) {}

ProgressBar::~ProgressBar() {
    if (FDrawn)
        std::fputc('\n', stderr);
}

void ProgressBar::Show(int32_t Percent) {
    if (!FEnabled)
        return;
    Percent = std::clamp(Percent, 0, 100);
    if (Percent == FLast)
        return;
    FLast = Percent;
    constexpr int width = 40;
    const int filled = Percent * width / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", FLabel.c_str(), std::string(filled, '#').c_str(),
                 std::string(width - filled, ' ').c_str(), Percent);
    std::fflush(stderr);
    FDrawn = true;
}

} // namespace zorp::tool
