// TOperationTracker: follows one archive operation for
// TZorp::OnOperationProgress.
#pragma once

#include "common/ZorpTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp {

// The entries of one archive operation, one after another, and the bytes
// done of their total. It does nothing unless the event is bound. While it
// lives, it is registered in the component's slot, where the stream driver
// finds it and reports what each run has read.
class TOperationTracker {
public:
    TOperationTracker(TOperationTracker*& Slot, const TOperationProgressEvent& Event);
    ~TOperationTracker();
    TOperationTracker(const TOperationTracker&) = delete;
    TOperationTracker& operator=(const TOperationTracker&) = delete;

    // True when the event is bound, so that the sizes are worth finding.
    bool Wanted() const { return static_cast<bool>(FEvent); }
    // The bytes of every entry the operation takes on, in order.
    void Plan(const std::vector<int64_t>& Sizes);
    // Entry Index (its place in the plan) begins.
    void Begin(int Index, const std::string& Name);
    // The running entry's driver run has read Read of its Whole input bytes;
    // its bytes count in the same proportion.
    void Advance(int64_t Read, int64_t Whole);
    // The running entry has reached DoneInEntry of its bytes (as another
    // tracker, planned with the same entry size, counted them).
    void AdvanceWithin(int64_t DoneInEntry);
    // The planned bytes of entry Index (0 outside the plan).
    int64_t PlannedSize(int Index) const;
    // The running entry is done.
    void End();

private:
    void Fire(int64_t Done);

    TOperationTracker*& FSlot;
    TOperationTracker* FPrevious;
    const TOperationProgressEvent& FEvent;
    std::vector<int64_t> FStarts; // bytes before each entry, and the total last
    TOperationProgress FProgress;
    bool FInEntry = false;
    int64_t FBefore = 0; // bytes of the entries before the running one
    int64_t FSize = 0;   // bytes of the running entry
};

} // namespace zorp
