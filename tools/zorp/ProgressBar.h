// A progress bar on standard error. It draws only when standard error is a
// terminal and it is not silenced. A single run shows the component's
// percentages; an operation over many entries shows its bytes done of its
// bytes in all, the entry it is at and that entry's name.
#pragma once

#include <cstdint>
#include <string>

namespace zorp::tool {

class ProgressBar {
public:
    ProgressBar(std::string Label, bool Quiet);
    ~ProgressBar(); // ends the line if anything was drawn

    // Handler for OnShowProgress of a single run.
    void Show(int32_t Percent);

    // The operation: Total bytes over Entries entries.
    void Begin(int64_t Total, int Entries);
    // The next entry begins: Size of its bytes count towards the total.
    void StartEntry(const std::string& Name, int64_t Size);
    // Handler for OnShowProgress within the current entry.
    void ShowEntry(int32_t Percent);

    // Ends the bar's line, so that what follows starts on a line of its own.
    void Finish();
    // Writes Line on standard error on a line of its own, above the bar.
    void Print(const std::string& Line);

private:
    void Draw(int Percent, const std::string& Detail);

    std::string FLabel;
    bool FEnabled;
    bool FDrawn = false;
    int32_t FLast = -1;
    int64_t FTotal = 0;
    int64_t FDone = 0; // bytes of the entries before the current one
    int64_t FEntrySize = 0;
    int FEntries = 0;
    int FEntry = 0;
    std::string FName;
};

} // namespace zorp::tool
