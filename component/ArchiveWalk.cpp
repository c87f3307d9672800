#include "component/ArchiveWalk.h"

#include "component/Zorp.h"

namespace zorp {

TArchiveWalk::TArchiveWalk(TZorp& Zorp, fw::TStream& Stream) : FZorp(Zorp), FStream(Stream) {
    FStreamSize = Stream.Size();
    const bool noHeader = FStreamSize - Stream.Position() < TZorpHeader::RecordSize;
    Zorp.CheckHeader(Stream, FHeader, FMethodID);
    // Fewer bytes than a header are an empty archive, as CheckHeader says.
    FDataEnd = noHeader ? FStreamSize : Stream.Position();
}

bool TArchiveWalk::Next() {
    // Decoders may stop short of the end of their data.
    FStream.SetPosition(FDataEnd);
    if (FDataEnd == FStreamSize) {
        if (FPassed != FHeader.Size)
            Damaged();
        return false;
    }
    FEntryStart = FDataEnd;
    if (!FZorp.GetFileHeader(FStream, FEntry, FName))
        Damaged();
    const int64_t dataStart = FStream.Position();
    if (FEntry.CompressedSize < 0 || FEntry.CompressedSize > FStreamSize - dataStart ||
        FEntry.Size < 0 || FPassed + FEntry.Size > FHeader.Size)
        Damaged();
    FPassed += FEntry.Size;
    FDataEnd = dataStart + FEntry.CompressedSize;
    ++FCount;
    return true;
}

void TArchiveWalk::Damaged() const {
    throw EArchiveDamaged(FCount);
}

} // namespace zorp
