#include "component/OperationProgress.h"

#include <algorithm>

namespace zorp {

TOperationTracker::TOperationTracker(TOperationTracker*& Slot, const TOperationProgressEvent& Event)
    : FSlot(Slot), FPrevious(Slot), FEvent(Event) {
    if (Wanted())
        FSlot = this;
}

TOperationTracker::~TOperationTracker() {
    FSlot = FPrevious;
}

void TOperationTracker::Plan(const std::vector<int64_t>& Sizes) {
    FStarts.assign(1, 0);
    for (const int64_t size : Sizes)
        FStarts.push_back(FStarts.back() + size);
    FProgress.Count = static_cast<int>(Sizes.size());
    FProgress.Total = FStarts.back();
}

void TOperationTracker::Begin(int Index, const std::string& Name) {
    FInEntry = Wanted() && Index >= 0 && Index < FProgress.Count;
    if (!FInEntry)
        return;
    const auto i = static_cast<size_t>(Index);
    FBefore = FStarts[i];
    FSize = FStarts[i + 1] - FStarts[i];
    FProgress.Name = Name;
    FProgress.Index = Index;
    Fire(FBefore);
}

void TOperationTracker::Advance(int64_t Read, int64_t Whole) {
    if (Whole > 0)
        Fire(FBefore + FSize * std::clamp<int64_t>(Read, 0, Whole) / Whole);
}

void TOperationTracker::AdvanceWithin(int64_t DoneInEntry) {
    Fire(FBefore + DoneInEntry);
}

int64_t TOperationTracker::PlannedSize(int Index) const {
    if (Index < 0 || Index >= FProgress.Count)
        return 0;
    const auto i = static_cast<size_t>(Index);
    return FStarts[i + 1] - FStarts[i];
}

void TOperationTracker::End() {
    Fire(FBefore + FSize);
    FInEntry = false;
}

void TOperationTracker::Fire(int64_t Done) {
    if (!FInEntry)
        return;
    FProgress.Done = std::max(FProgress.Done, Done);
    FEvent(FProgress);
}

} // namespace zorp
