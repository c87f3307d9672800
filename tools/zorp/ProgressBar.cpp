#include "tools/zorp/ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace zorp::tool {

namespace {

constexpr int BarWidth = 30;
constexpr size_t NameWidth = 40;

} // namespace

ProgressBar::ProgressBar(std::string Label, bool Quiet)
    : FLabel(std::move(Label)), FEnabled(!Quiet && isatty(STDERR_FILENO) != 0) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Show(int32_t Percent) {
    Percent = std::clamp(Percent, 0, 100);
    if (Percent == FLast)
        return;
    FLast = Percent;
    Draw(Percent, "");
}

void ProgressBar::Begin(int64_t Total, int Entries) {
    FTotal = Total;
    FEntries = Entries;
    FDone = 0;
    FEntrySize = 0;
    FEntry = 0;
}

void ProgressBar::StartEntry(const std::string& Name, int64_t Size) {
    FDone += FEntrySize;
    FEntrySize = Size;
    FName = Name;
    ++FEntry;
    ShowEntry(0);
}

void ProgressBar::ShowEntry(int32_t Percent) {
    const int64_t done = FDone + FEntrySize * std::clamp(Percent, 0, 100) / 100;
    const int overall =
        FTotal > 0 ? static_cast<int>(std::min<int64_t>(100, done * 100 / FTotal)) : 100;
    std::string name = FName;
    if (name.size() > NameWidth)
        name = "..." + name.substr(name.size() - (NameWidth - 3));
    Draw(overall, std::to_string(FEntry) + "/" + std::to_string(FEntries) + " " + name);
}

void ProgressBar::Draw(int Percent, const std::string& Detail) {
    if (!FEnabled)
        return;
    const int filled = Percent * BarWidth / 100;
    // "\033[K" clears what a longer line before left behind.
    std::fprintf(stderr, "\r%s [%s%s] %3d%% %s\033[K", FLabel.c_str(),
                 std::string(filled, '#').c_str(), std::string(BarWidth - filled, ' ').c_str(),
                 Percent, Detail.c_str());
    std::fflush(stderr);
    FDrawn = true;
}

void ProgressBar::Finish() {
    if (FDrawn)
        std::fputc('\n', stderr);
    FDrawn = false;
    FLast = -1;
}

void ProgressBar::Print(const std::string& Line) {
    if (FDrawn)
        std::fputs("\r\033[K", stderr);
    std::fprintf(stderr, "%s\n", Line.c_str());
    FDrawn = false;
    FLast = -1;
}

} // namespace zorp::tool
