// AheadReports: what zorp extract says about each entry, in the order a
// single thread says it, also when the component asks OnCheckFile about
// entries ahead of the one it works on (zorp extract -j N).
#pragma once

#include "tools/zorp/ProgressBar.h"

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorp::tool {

class AheadReports {
public:
    // Ahead: OnCheckFile runs ahead of the work, so reports wait for the
    // operation's progress; otherwise everything is said at once.
    explicit AheadReports(bool Ahead) : FAhead(Ahead) {}
    bool Ahead() const { return FAhead; }

    // OnCheckFile took the entry Entry. True when its start is to be reported
    // once the operation begins it (see Begins), false when it is now.
    bool Checked(const std::string& Entry);
    // OnCheckFile refused the entry it was asked about, saying Line: printed
    // now, or once the operation begins an entry after it.
    void Say(ProgressBar& Bar, const std::string& Line);
    // The operation is at entry Index (in the order OnCheckFile was asked):
    // prints what was said of the refused entries before it, and returns the
    // entry's name the first time.
    std::optional<std::string> Begins(ProgressBar& Bar, int Index);
    // Prints whatever is left to say (the operation walked to its end).
    void Flush(ProgressBar& Bar);

private:
    bool FAhead;
    int FBegun = -1;
    std::vector<std::string> FNames;                   // of the entries asked about, in order
    std::deque<std::pair<size_t, std::string>> FLines; // waiting, with the entry they follow
};

} // namespace zorp::tool
