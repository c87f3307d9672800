#include "component/RecordedRun.h"

#include "common/Errors.h"
#include "component/Zorp.h"

namespace zorp {

void Replay(const std::vector<TRecordedEvent>& Events, const TShowProgressEvent& OnShowProgress,
            TOperationTracker& Progress) {
    bool inRun = false;
    for (size_t i = 0; i < Events.size(); ++i) {
        if (!Events[i].Percent) {
            Progress.AdvanceWithin(Events[i].Value);
            continue;
        }
        // A refill's percentage comes with its bytes done; the percentages
        // at a run's start and at its end come alone.
        const bool refill = i + 1 < Events.size() && !Events[i + 1].Percent;
        const bool start = !refill && !inRun;
        if (!refill)
            inRun = !inRun;
        auto percent = static_cast<int32_t>(Events[i].Value);
        OnShowProgress(percent);
        if (percent != -1 || (!refill && !start))
            continue; // a run ignores a cancel at its end
        if (refill) {
            // The run stops after this refill and ends as usual.
            Progress.AdvanceWithin(Events[i + 1].Value);
            int32_t end = 100;
            OnShowProgress(end);
        }
        throw EOperationCancelled();
    }
}

void TZorp::RecordRun(const TRunRecording& Recording, std::vector<TRecordedEvent>& Events,
                      const std::function<void()>& Work) {
    OnShowProgress = nullptr;
    OnOperationProgress = nullptr;
    if (Recording.Percent)
        OnShowProgress = [&Events](int32_t& Percent) { Events.push_back({true, Percent}); };
    // The bytes done are recorded also when the caller does not follow
    // them: they tell a refill's percentage from a run's first and last.
    OnOperationProgress = [&Events](const TOperationProgress& Progress) {
        Events.push_back({false, Progress.Done});
    };
    TOperationTracker tracker(FOperation, OnOperationProgress);
    tracker.Plan({Recording.Planned});
    tracker.Begin(0, std::string());
    Events.clear(); // the caller's tracker fires the entry's beginning
    Work();
}

} // namespace zorp
