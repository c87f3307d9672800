// TZorp's archive expansion on worker threads: the caller's thread walks the
// archive, asks OnCheckFile and reads each entry's packed data in order,
// workers expand them into memory, and the caller's thread writes the files
// in order (with every check and rule of the one-thread expansion),
// replaying the progress events each expansion fired.
#include "component/ArchiveParts.h"
#include "component/ArchiveWalk.h"
#include "component/ExtractionTarget.h"
#include "component/OperationProgress.h"
#include "component/PathRules.h"
#include "component/RecordedRun.h"
#include "component/WorkerPool.h"
#include "component/Zorp.h"

#include "framework/base/MemoryStream.h"

#include <deque>
#include <exception>
#include <future>

namespace zorp {

namespace {

// One entry of the archive on its way to its file.
struct TPendingExpansion {
    int Index = 0; // its place among the entries the operation takes on
    std::string Name;
    std::string Target;
    TZorpFileHeader Entry;
    int64_t DataStart = 0;    // where its data begin in the archive
    bool OnWorker = false;    // expanded by a worker (or in its turn, here)
    std::exception_ptr Error; // the walk failed here: raised in its turn
    // Written by the worker, read once Done is ready.
    std::future<void> Done;
    fw::TMemoryStream Packed;
    fw::TMemoryStream Output;
    std::vector<TRecordedEvent> Events;
    int32_t Duration = 0;
};

// Whether a worker expands Entry: built-in methods, within the limit.
bool ForWorker(const TZorpFileHeader& Entry) {
    return Entry.Method != coCustom && Entry.Size <= TZorp::ParallelEntryLimit &&
           Entry.CompressedSize <= TZorp::ParallelEntryLimit;
}

// The state of the walk over the archive: the entries List selects (every
// one without a List), and where OnCheckFile sends them.
struct TWalkState {
    TArchiveWalk& Walk;
    const fw::TStrings* List;
    std::vector<bool> Found;
    int Index = -1; // the entry's place among those the operation takes on
    bool Stopped = false;
};

// Walks to the next entry the operation takes on; false at the end of the
// archive or when OnCheckFile stopped the walk. Target is then its file.
bool NextTaken(TZorp& Zorp, TWalkState& State, std::string& Target) {
    for (;;) {
        if (!State.Walk.Next())
            return false;
        const std::string& name = State.Walk.Name();
        if (State.List != nullptr && !MarkFound(*State.List, name, Zorp.IgnoreCase(), State.Found))
            continue;
        ++State.Index;
        const std::string stored = HostPath(name);
        Target = !stored.empty() && stored[0] == '/' ? stored : Zorp.TargetPath() + stored;
        if (!Zorp.OnCheckFile)
            return true;
        Zorp.OnCheckFile(Target, cmExpand);
        if (Target == "*") {
            State.Stopped = true;
            return false;
        }
        if (!Target.empty())
            return true;
    }
}

// Walks to the next entry the operation takes on and fills Item with it,
// its packed data read when a worker is to expand it; false when the walk
// is over.
bool TakeNext(TZorp& Zorp, TWalkState& State, fw::TStream& Stream, TPendingExpansion& Item) {
    if (!NextTaken(Zorp, State, Item.Target))
        return false;
    Item.Index = State.Index;
    Item.Name = State.Walk.Name();
    Item.Entry = State.Walk.Entry();
    Item.DataStart = Stream.Position();
    Item.OnWorker = ForWorker(Item.Entry);
    if (Item.OnWorker && Item.Entry.CompressedSize > 0) // a count of 0 would copy it all
        Item.Packed.CopyFrom(Stream, Item.Entry.CompressedSize);
    Item.Packed.SetPosition(0);
    return true;
}

// Writes into Dest what a worker expanded for Item, once it is done, after
// replaying the events of its run; raises what the expansion raised.
void FillFromWorker(TPendingExpansion& Item, fw::TStream& Dest,
                    const TShowProgressEvent& OnShowProgress, TOperationTracker& Progress) {
    Item.Done.wait();
    Replay(Item.Events, OnShowProgress, Progress);
    Item.Done.get();
    if (Item.Output.Size() > 0)
        Dest.WriteBuffer(Item.Output.Memory(), static_cast<int32_t>(Item.Output.Size()));
}

} // namespace

void TZorp::ExpandFilesInParallel(fw::TStream& Stream, fw::TStrings* List) {
    fw::TStringList written;
    TArchiveWalk walk(*this, Stream);
    TExtractionPlaces places;
    TOperationTracker progress(FOperation, OnOperationProgress);
    if (progress.Wanted())
        progress.Plan(SelectedSizes(walk, List, FIgnoreCase));
    TWalkState state{walk, List,
                     std::vector<bool>(List != nullptr ? static_cast<size_t>(List->Count()) : 0)};
    const TRunRecording recording{static_cast<bool>(OnShowProgress), 0};
    const std::string methodID = walk.MethodID();
    const auto window = static_cast<size_t>(FThreads) + 1;

    std::deque<std::unique_ptr<TPendingExpansion>> pending; // in archive order
    // The pool stops before the entries it works on go.
    TWorkerPool pool(FThreads, [this] { return MakeWorker(); });

    // Expands Item on a worker, recording the events its run fires.
    const auto submit = [&](TPendingExpansion& Item) {
        TRunRecording run = recording;
        run.Planned = progress.PlannedSize(Item.Index);
        Item.Done = pool.Submit([&Item, run, methodID](TZorp& Worker) {
            Worker.RecordRun(run, Item.Events, [&] {
                const TZorpFileHeader& e = Item.Entry;
                Worker.DoExpand(Item.Output, Item.Packed, e.CompressedSize, e.Size, e.Checksum,
                                static_cast<TZorpMethod>(e.Method), methodID, e.Lock);
            });
            Item.Duration = Worker.FLastDuration;
        });
    };

    // Queues the next entry the operation takes on, its data read and on a
    // worker when it is for one; false when the walk is over (its end, a
    // stop, or a failure queued to be raised in its turn).
    const auto walkOn = [&]() -> bool {
        auto item = std::make_unique<TPendingExpansion>();
        try {
            if (!TakeNext(*this, state, Stream, *item))
                return false;
            if (item->OnWorker)
                submit(*item);
            pending.push_back(std::move(item));
            return true;
        } catch (...) {
            item->Error = std::current_exception();
            pending.push_back(std::move(item));
            return false;
        }
    };

    // Writes the file of Item, the first entry in line.
    const auto finish = [&](TPendingExpansion& Item) {
        const TZorpFileHeader& e = Item.Entry;
        const auto fill = [&](fw::TStream& Dest) {
            if (Item.OnWorker) {
                FillFromWorker(Item, Dest, OnShowProgress, progress);
                FLastDuration = Item.Duration;
                return;
            }
            Stream.SetPosition(Item.DataStart);
            DoExpand(Dest, Stream, e.CompressedSize, e.Size, e.Checksum,
                     static_cast<TZorpMethod>(e.Method), methodID, e.Lock);
        };
        progress.Begin(Item.Index, Item.Name);
        if (ExpandEntryOrReport(Item.Name, e, places, Item.Target, fill)) {
            progress.End();
            written.Add(Item.Target);
        }
    };

    for (bool ahead = true;;) {
        while (ahead && pending.size() < window)
            ahead = walkOn();
        if (pending.empty())
            break;
        if (pending.front()->Error)
            std::rethrow_exception(pending.front()->Error);
        finish(*pending.front());
        pending.pop_front();
    }
    if (List == nullptr)
        return;
    const std::vector<std::string> missing =
        state.Stopped ? std::vector<std::string>() : Unmarked(*List, state.Found);
    List->Assign(written);
    if (!missing.empty())
        throw EEntryNotFound(missing);
}

} // namespace zorp
