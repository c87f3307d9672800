// A progress bar on standard error, fed by the component's progress events.
// It draws only when standard error is a terminal and it is not silenced.
#pragma once

#include <cstdint>
#include <string>

namespace zorp::tool {

class ProgressBar {
public:
    ProgressBar(std::string Label, bool Quiet);
    ~ProgressBar(); // ends the line if anything was drawn

    // Handler for OnShowProgress.
    void Show(int32_t Percent);

private:
    std::string FLabel;
    bool FEnabled;
    bool FDrawn = false;
    int32_t FLast = -1;
};

} // namespace zorp::tool
