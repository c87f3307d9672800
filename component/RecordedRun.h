// The progress events of work done on a worker thread, recorded there and
// fired later, in order, on the caller's thread.
#pragma once

#include "common/ZorpTypes.h"
#include "component/OperationProgress.h"

#include <cstdint>
#include <vector>

namespace zorp {

// An event a worker's run fired: a percentage for OnShowProgress, or the
// bytes of the entry done for OnOperationProgress.
struct TRecordedEvent {
    bool Percent = false;
    int64_t Value = 0;
};

// Fires Events on this thread: the percentages to OnShowProgress, the bytes
// done to Progress (at the entry it is at). A handler's cancel ends the
// replay as it ends the run itself: at a run's start at once, at a refill
// after that refill's bytes and the run's closing 100; then
// EOperationCancelled is raised.
void Replay(const std::vector<TRecordedEvent>& Events, const TShowProgressEvent& OnShowProgress,
            TOperationTracker& Progress);

} // namespace zorp
