// TArchiveWalk: the entries of an archive stream one after another, from the
// archive header to the end of the stream.
//
// A walk never runs past the data, and never ends quietly short of the end
// either: an entry that is cut off, sizes that cannot be true, entries whose
// sizes add up to more than the archive's total, or a total that the
// entries do not reach, raise EArchiveDamaged with the number of sound
// entries read before the damage. Every operation that reads an archive
// walks it this way, so all of them see the same entries.
#pragma once

#include "component/Headers.h"
#include "framework/base/Stream.h"

#include <cstdint>
#include <string>

namespace zorp {

class TZorp;

class TArchiveWalk {
public:
    // Reads and checks the archive header at Stream's position (see
    // TZorp::CheckHeader: fewer than 21 bytes left are an empty archive,
    // whatever they hold).
    TArchiveWalk(TZorp& Zorp, fw::TStream& Stream);

    // Moves to the next entry: its per-file header and name are read, and
    // the stream is at its data. False at the end of the archive.
    bool Next();

    fw::TStream& Stream() const { return FStream; }
    const TZorpHeader& Header() const { return FHeader; }
    const std::string& MethodID() const { return FMethodID; }
    const TZorpFileHeader& Entry() const { return FEntry; }
    const std::string& Name() const { return FName; }
    // Stream positions of the entry's per-file header and of its data's end.
    int64_t EntryStart() const { return FEntryStart; }
    int64_t DataEnd() const { return FDataEnd; }
    // Entries returned so far.
    int Count() const { return FCount; }

private:
    [[noreturn]] void Damaged() const;

    TZorp& FZorp;
    fw::TStream& FStream;
    TZorpHeader FHeader;
    std::string FMethodID;
    TZorpFileHeader FEntry;
    std::string FName;
    int64_t FStreamSize = 0;
    int64_t FEntryStart = 0;
    int64_t FDataEnd = 0;
    int64_t FPassed = 0; // the size fields of the entries so far
    int FCount = 0;
};

} // namespace zorp
