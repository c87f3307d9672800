// TZorp's archive expansion on worker threads: the caller's thread walks the
// archive, asks OnCheckFile and reads each entry's packed data in order,
// workers expand them into memory (or into nothing, verifying), and the
// caller's thread writes the files in order (with every check and rule of the one-thread
// expansion), replaying the progress events each expansion fired.
#include "component/ArchiveParts.h"
#include "component/ArchiveWalk.h"
#include "component/ExtractionTarget.h"
#include "component/OperationProgress.h"
#include "component/RecordedRun.h"
#include "component/WorkerPool.h"
#include "component/Zorp.h"

#include "framework/base/MemoryStream.h"
#include "framework/base/NullStream.h"

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
    std::exception_ptr Failure; // what the expansion raised
    fw::TMemoryStream Packed;
    fw::TMemoryStream Output;
    std::vector<TRecordedEvent> Events;
    int32_t Duration = 0;
};

// Whether a worker expands Entry: built-in methods, within the limits. A
// small entry going to a file stays here: its file costs this thread more
// than its expansion, so handing it over would gain nothing.
bool ForWorker(const TZorpFileHeader& Entry, TEntryUse Use) {
    return Entry.Method != coCustom &&
           (Use == TEntryUse::Verify || Entry.Size >= TZorp::ParallelExpandMinimum) &&
           Entry.Size <= TZorp::ParallelEntryLimit &&
           Entry.CompressedSize <= TZorp::ParallelEntryLimit;
}

// Walks to the next entry the operation takes on and fills Item with it,
// its packed data read when a worker is to expand it; false when the walk
// is over.
bool TakeNext(TEntrySelection& Selection, const TArchiveWalk& Walk, fw::TStream& Stream,
              TEntryUse Use, TPendingExpansion& Item) {
    if (!Selection.Next(Item.Target))
        return false;
    Item.Index = Selection.Index();
    Item.Name = Walk.Name();
    Item.Entry = Walk.Entry();
    Item.DataStart = Stream.Position();
    Item.OnWorker = ForWorker(Item.Entry, Use);
    if (Item.OnWorker && Item.Entry.CompressedSize > 0) // a count of 0 would copy it all
        Item.Packed.CopyFrom(Stream, Item.Entry.CompressedSize);
    Item.Packed.SetPosition(0);
    return true;
}

// The bytes Item holds in memory while it is in flight: packed and expanded
// on a worker, none when it is expanded here.
int64_t HeldBytes(const TPendingExpansion& Item) {
    return Item.OnWorker ? int64_t{Item.Entry.CompressedSize} + Item.Entry.Size : 0;
}

// Writes into Dest what a worker expanded for Item, once it is done, after
// replaying the events of its run; raises what the expansion raised.
void FillFromWorker(TPendingExpansion& Item, fw::TStream& Dest,
                    const TShowProgressEvent& OnShowProgress, TOperationTracker& Progress) {
    Item.Done.wait();
    Replay(Item.Events, OnShowProgress, Progress);
    Item.Done.get();
    if (Item.Failure)
        std::rethrow_exception(Item.Failure);
    if (Item.Output.Size() > 0)
        Dest.WriteBuffer(Item.Output.Memory(), static_cast<int32_t>(Item.Output.Size()));
}

} // namespace

void TZorp::ExpandEntriesInParallel(fw::TStream& Stream, fw::TStrings* List, TEntryUse Use) {
    fw::TStringList done;
    TArchiveWalk walk(*this, Stream);
    TExtractionPlaces places;
    TOperationTracker progress(FOperation, OnOperationProgress);
    TEntrySelection selection(*this, walk, List, Use, progress);
    const TRunRecording recording{static_cast<bool>(OnShowProgress), 0};
    const std::string methodID = walk.MethodID();
    TLookAhead lookAhead(FThreads, ParallelAhead, ParallelEntryLimit);

    std::deque<std::unique_ptr<TPendingExpansion>> pending; // in archive order
    // The pool stops before the entries it works on go.
    TWorkerPool pool(FThreads, [this] { return MakeWorker(); });

    // Expands Item on a worker, recording the events its run fires.
    const auto submit = [&](TPendingExpansion& Item) {
        TRunRecording run = recording;
        run.Planned = progress.PlannedSize(Item.Index);
        Item.Done = pool.Submit(
            [&Item, run, methodID, Use](TZorp& Worker) {
                Worker.RecordRun(run, Item.Events, [&] {
                    const TZorpFileHeader& e = Item.Entry;
                    fw::TNullStream nowhere; // verifying keeps nothing
                    fw::TStream& output = Use == TEntryUse::Verify
                                              ? static_cast<fw::TStream&>(nowhere)
                                              : static_cast<fw::TStream&>(Item.Output);
                    Worker.DoExpand(output, Item.Packed, e.CompressedSize, e.Size, e.Checksum,
                                    static_cast<TZorpMethod>(e.Method), methodID, e.Lock);
                });
                Item.Duration = Worker.FLastDuration;
            },
            Item.Failure);
    };

    // Queues the next entry the operation takes on, its data read and on a
    // worker when it is for one; false when the walk is over (its end, a
    // stop, or a failure queued to be raised in its turn).
    const auto walkOn = [&]() -> bool {
        auto item = std::make_unique<TPendingExpansion>();
        try {
            if (!TakeNext(selection, walk, Stream, Use, *item))
                return false;
            if (item->OnWorker)
                submit(*item);
            lookAhead.Take(HeldBytes(*item));
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
        if (ExpandEntryOrReport(Item.Name, e, places, Item.Target, Use, fill)) {
            progress.End();
            done.Add(Item.Target);
        }
    };

    for (bool ahead = true;;) {
        while (ahead && lookAhead.Room(pending.size()))
            ahead = walkOn();
        if (pending.empty())
            break;
        lookAhead.Release(HeldBytes(*pending.front()));
        if (pending.front()->Error)
            std::rethrow_exception(pending.front()->Error);
        finish(*pending.front());
        pending.pop_front();
    }
    selection.Finish(List, done);
}

} // namespace zorp
