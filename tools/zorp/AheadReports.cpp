#include "tools/zorp/AheadReports.h"

namespace zorp::tool {

bool AheadReports::Checked(const std::string& Entry) {
    if (!FAhead)
        return false;
    FNames.push_back(Entry);
    return true;
}

void AheadReports::Say(ProgressBar& Bar, const std::string& Line) {
    if (!FAhead) {
        Bar.Print(Line);
        return;
    }
    FLines.emplace_back(FNames.size(), Line);
    FNames.emplace_back(); // the refused entry keeps its place
}

std::optional<std::string> AheadReports::Begins(ProgressBar& Bar, int Index) {
    if (Index == FBegun || Index < 0 || static_cast<size_t>(Index) >= FNames.size())
        return std::nullopt;
    FBegun = Index;
    while (!FLines.empty() && FLines.front().first < static_cast<size_t>(Index)) {
        Bar.Print(FLines.front().second);
        FLines.pop_front();
    }
    return FNames[static_cast<size_t>(Index)];
}

void AheadReports::Flush(ProgressBar& Bar) {
    for (const auto& [entry, line] : FLines)
        Bar.Print(line);
    FLines.clear();
}

} // namespace zorp::tool
