// The pieces of archive writing and reading that the one-thread and the
// parallel operations share (defined in ArchiveWriting.cpp and
// ArchiveReading.cpp).
#pragma once

#include "component/ArchiveWalk.h"
#include "component/Headers.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp {

// Writes an archive header at Dest's position.
void WriteArchiveHeader(fw::TStream& Dest, const TZorpHeader& Header);
// Adds Size to an archive total, refusing totals of 2 GiB or more.
void AddToTotal(TZorpHeader& Header, int64_t Size);
// A read error while compressing the file Path, as an error naming it.
[[noreturn]] void ThrowReadError(const std::string& Path, const fw::EReadError& Error);
// The size of each file of List as it is now (0 for one that cannot be
// read), for the operation's progress.
std::vector<int64_t> FileSizes(const fw::TStrings& List);
// Path as it is stored: without Target (TargetPath) in front of it, and at
// most 9999 bytes of what follows.
std::string NameBelowTarget(const std::string& Path, const std::string& Target, bool IgnoreCase);
// The date and attributes of the entry for File (opened from Path), with its
// permission bits when they are kept.
TZorpFileHeader EntryTemplate(fw::TFileStream& File, const std::string& Path, bool KeepPermissions);

// Marks the lines of List that name the entry Name; false when none does.
bool MarkFound(const fw::TStrings& List, const std::string& Name, bool IgnoreCase,
               std::vector<bool>& Found);
// The lines of List not marked found.
std::vector<std::string> Unmarked(const fw::TStrings& List, const std::vector<bool>& Found);
// The sizes of the entries of Walk's archive (from its current entry on)
// that List selects (every entry without a List); a damaged archive ends
// them where the damage begins.
std::vector<int64_t> SelectedSizes(TArchiveWalk Walk, const fw::TStrings* List, bool IgnoreCase);

class TOperationTracker;
class TZorp;

// How far ahead an operation on several threads takes on entries: up to
// ParallelAhead per thread, so that a large entry in front does not keep the
// workers waiting, and no more once the bytes the entries on workers hold in
// memory reach Threads + 1 times ParallelEntryLimit.
class TLookAhead {
public:
    TLookAhead(int Threads, size_t PerThread, int64_t EntryLimit)
        : FCount(static_cast<size_t>(Threads) * PerThread), FByteRoom((Threads + 1) * EntryLimit) {}
    // Whether one more entry may be taken on, Pending being in flight.
    bool Room(size_t Pending) const { return Pending < FCount && FBytes < FByteRoom; }
    // An entry holding Bytes is taken on, or leaves.
    void Take(int64_t Bytes) { FBytes += Bytes; }
    void Release(int64_t Bytes) { FBytes -= Bytes; }

private:
    size_t FCount;
    int64_t FByteRoom;
    int64_t FBytes = 0;
};

// What an expansion over an archive's entries does with each one: write it to
// its file, or expand it into nothing to verify it.
enum class TEntryUse { ToFile, Verify };

// The entries an expansion takes on, in archive order: those List names
// (every one without a List), where OnCheckFile lets them go (asked only
// when they go to files).
class TEntrySelection {
public:
    // Plans Progress with the sizes of those entries when it is wanted.
    TEntrySelection(TZorp& Zorp, TArchiveWalk& Walk, const fw::TStrings* List, TEntryUse Use,
                    TOperationTracker& Progress);

    // Walks to the next entry taken; false at the end of the archive or when
    // OnCheckFile stopped the walk. Target is then the entry's file (its
    // name when verifying).
    bool Next(std::string& Target);
    // The entry's place among those taken.
    int Index() const { return FIndex; }
    // Ends the operation: List (if any) gets Done, the targets finished, and
    // names of List that matched no entry raise EEntryNotFound (not after a
    // stop).
    void Finish(fw::TStrings* List, const fw::TStringList& Done) const;

private:
    TZorp& FZorp;
    TArchiveWalk& FWalk;
    const fw::TStrings* FList;
    TEntryUse FUse;
    std::vector<bool> FFound;
    int FIndex = -1;
    bool FStopped = false;
};

} // namespace zorp
