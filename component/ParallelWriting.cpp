// TZorp's archive writing on worker threads: the caller's thread vets and
// opens the files in list order, workers compress them into memory, and the
// caller's thread appends the finished entries in list order, replaying the
// progress events each one fired. The archive is the one WriteArchive writes.
#include "component/ArchiveParts.h"
#include "component/FileBuffer.h"
#include "component/OperationProgress.h"
#include "component/PathRules.h"
#include "component/RecordedRun.h"
#include "component/WorkerPool.h"
#include "component/Zorp.h"

#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <functional>
#include <future>

namespace zorp {

namespace {

// One line of the list on its way into the archive.
struct TPendingEntry {
    enum class TKind { Skip, Stop, Fail, Worker, Caller };
    TKind Kind = TKind::Skip;
    int Index = 0; // the line's place among the lines the list began with
    std::string Path;
    std::string Name;
    std::unique_ptr<fw::TFileStream> File;
    TZorpFileHeader Template;
    int64_t Size = 0;
    std::exception_ptr Error; // why a Fail line fails
    // Written by the worker, read once Done is ready.
    std::future<void> Done;
    std::exception_ptr Failure;
    fw::TMemoryStream Output; // the entry: its header, its name and its data
    std::vector<TRecordedEvent> Events;
    int32_t Ratio = 0;
    int32_t Duration = 0;
};

using TKind = TPendingEntry::TKind;

// Vets and opens the file Path, entry Index of the operation, as Zorp's
// settings and OnCheckFile say. A file that fails before its work fails in
// its turn.
std::unique_ptr<TPendingEntry> PrepareEntry(TZorp& Zorp, const std::string& Path, int Index) {
    auto entry = std::make_unique<TPendingEntry>();
    entry->Index = Index;
    entry->Path = Path;
    try {
        std::string name = NameBelowTarget(Path, Zorp.TargetPath(), Zorp.IgnoreCase());
        if (Zorp.OnCheckFile) {
            Zorp.OnCheckFile(name, cmCompress);
            if (name.empty() || name == "*") {
                entry->Kind = name.empty() ? TKind::Skip : TKind::Stop;
                return entry;
            }
        }
        entry->Name = StripDrive(name);
        try {
            entry->File =
                std::make_unique<fw::TFileStream>(Path, fw::fmOpenRead | fw::fmShareDenyNone);
        } catch (const fw::EFOpenError&) {
            if (Zorp.ExceptionOnFileError())
                throw;
            entry->Kind = TKind::Skip;
            return entry;
        }
        entry->Template = EntryTemplate(*entry->File, Path, Zorp.KeepPermissions());
        entry->Size = entry->File->Size();
        entry->Kind = entry->Size > TZorp::ParallelEntryLimit ? TKind::Caller : TKind::Worker;
    } catch (...) {
        entry->Kind = TKind::Fail;
        entry->Error = std::current_exception();
    }
    return entry;
}

// The bytes Entry's file holds a worker to while it is in flight (its
// output grows to about as many); none when it is compressed here.
int64_t HeldBytes(const TPendingEntry& Entry) {
    return Entry.Kind == TKind::Worker ? Entry.Size : 0;
}

// Prepares the line after the pending ones (line First is the first of
// them), entry Index, handing it to Submit when a worker is to compress it.
// False when no line is to be prepared after it.
bool PrepareNext(TZorp& Zorp, fw::TStrings& List, int First, int& Index,
                 std::deque<std::unique_ptr<TPendingEntry>>& Pending, TLookAhead& LookAhead,
                 const std::function<void(TPendingEntry&)>& Submit) {
    const int line = First + static_cast<int>(Pending.size());
    if (line >= List.Count())
        return false;
    Pending.push_back(PrepareEntry(Zorp, List.Get(line), Index++));
    TPendingEntry& entry = *Pending.back();
    LookAhead.Take(HeldBytes(entry));
    if (entry.Kind == TKind::Worker)
        Submit(entry);
    return entry.Kind != TKind::Stop && entry.Kind != TKind::Fail;
}

} // namespace

std::unique_ptr<TZorp> TZorp::MakeWorker() const {
    auto worker = std::make_unique<TZorp>(nullptr);
    worker->FKey = FKey;
    worker->FHeaderReserve = FHeaderReserve;
    worker->FIgnoreCase = FIgnoreCase;
    worker->FKeepPermissions = FKeepPermissions;
    return worker;
}

void TZorp::WriteArchiveInParallel(fw::TStream& Dest, fw::TStrings& List, TZorpMethod Method) {
    TOperationTracker progress(FOperation, OnOperationProgress);
    if (progress.Wanted())
        progress.Plan(FileSizes(List));
    const int64_t start = Dest.Position();
    const std::string methodID = MethodIDs[Method];
    TZorpHeader archive;
    SetHeader(archive, methodID, caMulti, 0);
    WriteArchiveHeader(Dest, archive);
    bool droppedLast = false; // an entry was taken back at the end of Dest

    const bool showPercent = static_cast<bool>(OnShowProgress);
    const int workers = std::min(FThreads, std::max(List.Count(), 1));
    TLookAhead lookAhead(workers, ParallelAhead, ParallelEntryLimit);

    // Appends the finished entry Entry at Dest's position.
    auto append = [&](TPendingEntry& Entry) {
        if (Entry.Kind == TKind::Caller) {
            std::string id = methodID;
            fw::TBufferedStream source(*Entry.File, FileBufferSize);
            CompressStreamToArchiveStream(Dest, source, Entry.Name, Entry.Template, id, Method);
            return;
        }
        Entry.Done.wait();
        Replay(Entry.Events, OnShowProgress, progress);
        Entry.Done.get();
        if (Entry.Failure)
            std::rethrow_exception(Entry.Failure); // what the worker raised
        Dest.WriteBuffer(Entry.Output.Memory(), static_cast<int32_t>(Entry.Output.Size()));
        FLastRatio = Entry.Ratio;
        FLastDuration = Entry.Duration;
    };

    std::deque<std::unique_ptr<TPendingEntry>> pending; // lines i, i + 1, ... in order
    // The pool stops before the entries it works on go.
    TWorkerPool pool(workers, [this] { return MakeWorker(); });

    // Compresses Entry on a worker, recording the events its runs fire.
    auto submit = [&](TPendingEntry& Entry) {
        const int64_t planned = progress.PlannedSize(Entry.Index);
        const TRunRecording recording{showPercent, planned};
        Entry.Done = pool.Submit(
            [&Entry, recording, methodID, Method](TZorp& Worker) {
                Worker.RecordRun(recording, Entry.Events, [&] {
                    std::string id = methodID;
                    fw::TBufferedStream source(*Entry.File, FileBufferSize);
                    Worker.WriteArchiveEntry(Entry.Output, source, Entry.Name, Entry.Template, id,
                                             Method);
                });
                Entry.Ratio = Worker.FLastRatio;
                Entry.Duration = Worker.FLastDuration;
            },
            Entry.Failure);
    };

    int index = 0;      // the next line to prepare, among the lines List began with
    bool ahead = true;  // lines are left to prepare
    for (int i = 0;;) { // line i of List is the one pending.front() stands for
        while (ahead && lookAhead.Room(pending.size()))
            ahead = PrepareNext(*this, List, i, index, pending, lookAhead, submit);
        if (pending.empty())
            break;
        TPendingEntry& entry = *pending.front();
        lookAhead.Release(HeldBytes(entry)); // before it leaves, whichever way
        if (entry.Kind == TKind::Fail)
            std::rethrow_exception(entry.Error);
        if (entry.Kind == TKind::Skip || entry.Kind == TKind::Stop) {
            List.Delete(i);
            if (entry.Kind == TKind::Stop)
                break;
            pending.pop_front();
            continue;
        }
        const TZorpHeader before = archive;
        AddToTotal(archive, entry.Size);
        const int64_t entryStart = Dest.Position();
        progress.Begin(entry.Index, entry.Name);
        try {
            append(entry);
        } catch (const fw::EReadError& e) {
            // A file that cannot be read to its end leaves no entry.
            if (FExceptionOnFileError)
                ThrowReadError(entry.Path, e);
            archive = before;
            Dest.SetPosition(entryStart);
            droppedLast = true;
            List.Delete(i);
            pending.pop_front();
            continue;
        }
        progress.End();
        droppedLast = false;
        List.Put(i, entry.Name);
        ++i;
        pending.pop_front();
    }
    if (droppedLast)
        Dest.SetSize(Dest.Position());

    archive.SetMethodID(methodID);
    Dest.SetPosition(start);
    WriteArchiveHeader(Dest, archive);
}

} // namespace zorp
