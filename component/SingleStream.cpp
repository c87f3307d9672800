// TZorp's single-stream operations: Compress and Expand with their header,
// the fallback to storing, and the checked runs DoCompress and DoExpand.
#include "component/OutputMark.h"
#include "component/Zorp.h"
#include "engine/CompThreadSafety.h"

#include "framework/base/MemoryStream.h"
#include "framework/base/System.h"

#include <algorithm>
#include <limits>

namespace zorp {

namespace {

// Most that Expand reserves ahead in a memory stream on the word of a
// header; the stream still grows past it as data arrive.
constexpr int64_t MaxPresize = int64_t{64} * 1024 * 1024;

int32_t RemainingSize(fw::TStream& Stream) {
    const int64_t left = Stream.Size() - Stream.Position();
    if (left > std::numeric_limits<int32_t>::max())
        throw EDataTooLarge();
    return static_cast<int32_t>(std::max<int64_t>(left, 0));
}

void WriteHeader(fw::TStream& Dest, const TZorpHeader& Header) {
    const auto bytes = Header.Encode();
    Dest.WriteBuffer(bytes.data(), TZorpHeader::RecordSize);
}

// Runs one engine pass. Once the progress handler has cancelled it, the pass
// reports the cancel, whatever the cut-off input led to: an error (even
// EUnableToCompress, which would otherwise start a second run, or a decode
// table the input ran out in) or a result.
template <typename TRun> auto ReportingCancel(const bool& Cancelled, TRun&& Run) {
    decltype(Run()) result{};
    try {
        result = Run();
    } catch (...) {
        if (Cancelled)
            throw EOperationCancelled();
        throw;
    }
    if (Cancelled)
        throw EOperationCancelled();
    return result;
}

// Sets HeaderReserve back to 0 however the compression run ends.
class TReserveGuard {
public:
    explicit TReserveGuard(TZorp& Owner) : FOwner(Owner) {}
    ~TReserveGuard() { FOwner.SetHeaderReserve(0); }
    TReserveGuard(const TReserveGuard&) = delete;
    TReserveGuard& operator=(const TReserveGuard&) = delete;

private:
    TZorp& FOwner;
};

} // namespace

void TZorp::Compress(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method) {
    TakeBackWhenCancelled(Dest, [&] { CompressStream(Dest, Source, Method); });
}

void TZorp::CompressStream(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method) {
    FLastRatio = 100;
    if (Method == coCustom && !OnCompress)
        Method = coNone;
    const int64_t destStart = Dest.Position();
    // The data are Source from its position on; a fallback rereads from there.
    const int64_t sourceStart = Source.Position();
    const int32_t size = RemainingSize(Source);
    if (size < TZorpHeader::RecordSize)
        Method = coNone;

    std::string methodID;
    TZorpHeader header;
    const bool headerAtStart = Method != coNone || FKey != 0;
    if (headerAtStart) {
        methodID = MethodIDs[Method];
        SetHeader(header, methodID, caSingle, size);
        WriteHeader(Dest, header);
        FHeaderReserve = Method != coNone ? TZorpHeader::RecordSize : 0;
    }
    int32_t checksum = 0;
    int32_t compressedSize = 0;
    try {
        TReserveGuard reserve(*this);
        compressedSize = DoCompress(Dest, Source, Method, methodID, checksum);
    } catch (const EUnableToCompress&) {
        Method = coNone;
        Source.SetPosition(sourceStart);
        if (FKey != 0) {
            Dest.SetPosition(destStart + TZorpHeader::RecordSize);
            methodID = MethodIDs[coNone];
        } else {
            Dest.SetPosition(destStart); // no header: the stored bytes replace it
        }
        checksum = 0;
        compressedSize = DoCompress(Dest, Source, coNone, methodID, checksum);
    }
    if (Method != coNone || FKey != 0) {
        compressedSize += TZorpHeader::RecordSize;
        if (size > 0)
            FLastRatio = PercentOf(compressedSize, size);
        const int64_t end = Dest.Position();
        Dest.SetPosition(destStart);
        header.SetMethodID(methodID);
        header.Checksum = checksum;
        WriteHeader(Dest, header);
        Dest.SetPosition(end);
    }
}

int32_t TZorp::DoCompress(fw::TStream& Dest, fw::TStream& Source, TZorpMethod Method,
                          std::string& MethodID, int32_t& Checksum) {
    const uint32_t start = fw::GetTickCount();
    int32_t result = 0;
    if (Method == coCustom) {
        Checksum = 0;
        if (OnCompress)
            OnCompress(Dest, Source, MethodID, result, Checksum);
    } else {
        result = ReportingCancel(FRunCancelled, [&] {
            return ProcessStreams(Dest, Source, RemainingSize(Source), 0, Method, Checksum,
                                  cmCompress, false);
        });
    }
    Checksum = static_cast<int32_t>(static_cast<uint32_t>(Checksum) + static_cast<uint32_t>(FKey));
    FLastDuration = static_cast<int32_t>(fw::GetTickCount() - start);
    return result;
}

void TZorp::Expand(fw::TStream& Dest, fw::TStream& Source) {
    TakeBackWhenCancelled(Dest, [&] { ExpandStream(Dest, Source); });
}

void TZorp::ExpandStream(fw::TStream& Dest, fw::TStream& Source) {
    TZorpMethod method = coNone;
    int32_t checksum = 0;
    int32_t lock = 0;
    std::string methodID;
    const int64_t start = Source.Position();
    int32_t remaining = RemainingSize(Source);
    // Data without a header come back as they stand.
    int32_t expandedSize = remaining;

    if (remaining >= TZorpHeader::RecordSize) {
        std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
        Source.ReadBuffer(bytes.data(), TZorpHeader::RecordSize);
        const TZorpHeader header = TZorpHeader::Decode(bytes.data());
        // 21 bytes or fewer are data as they stand, except the header of an
        // empty stream locked with a key, which expands to nothing.
        const bool lockedEmpty = remaining == TZorpHeader::RecordSize && FKey != 0 &&
                                 header.HasMagic() && header.ArchiveType == caSingle &&
                                 header.Size == 0 && header.Lock > 0;
        if (remaining > TZorpHeader::RecordSize || lockedEmpty) {
            if (!header.HasMagic()) {
                Source.SetPosition(start);
                Dest.CopyFrom(Source, remaining);
                return;
            }
            if (header.ArchiveType != caSingle)
                throw EInvalidHeaderArchiveType(SExpandCantHandleMulti);
            methodID = header.MethodIDString();
            method = Recognize(methodID);
            checksum = header.Checksum;
            lock = header.Lock;
            expandedSize = header.Size;
            remaining -= TZorpHeader::RecordSize;
            // Room, not size: a short expansion must not leave zeros behind.
            if (auto* memory = dynamic_cast<fw::TMemoryStream*>(&Dest); memory && expandedSize > 0)
                memory->SetCapacity(memory->Position() +
                                    std::min<int64_t>(expandedSize, MaxPresize));
        } else {
            Source.SetPosition(start);
        }
    }
    DoExpand(Dest, Source, remaining, expandedSize, checksum, method, methodID, lock);
}

void TZorp::DoExpand(fw::TStream& Dest, fw::TStream& Source, int32_t SourceSize,
                     int32_t ExpandedSize, int32_t Checksum, TZorpMethod Method,
                     const std::string& MethodID, int32_t Lock) {
    if (Method > coLZH5)
        throw EUnsupportedMethod(Method);
    if (Method == coCustom && !OnExpand)
        throw EUnsupportedMethod(MethodID);
    if (Lock > 0 && FKey == 0)
        throw EInvalidKey();
    int32_t computed = 0;
    int64_t produced = 0;
    const uint32_t start = fw::GetTickCount();
    if (Method == coCustom) {
        const int64_t before = Dest.Position();
        OnExpand(Dest, Source, SourceSize, ExpandedSize, MethodID, computed);
        produced = Dest.Position() - before;
    } else {
        try {
            produced = ReportingCancel(FRunCancelled, [&] {
                return ProcessStreams(Dest, Source, SourceSize, ExpandedSize, Method, computed,
                                      cmExpand, Lock == LockScrambled);
            });
        } catch (const ELZHBadDecodeTable&) {
            if (Lock > 0)
                throw EInvalidKey(); // de-scrambled with the wrong key
            throw;
        }
    }
    FLastDuration = static_cast<int32_t>(fw::GetTickCount() - start);
    const uint32_t keyed = static_cast<uint32_t>(FKey) + static_cast<uint32_t>(computed);
    const bool sumMatches = computed == Checksum ||
                            (Checksum == 0 && Method == coNone) || // data that carried no checksum
                            (Lock > 0 && keyed == static_cast<uint32_t>(Checksum));
    if (!sumMatches) {
        if (Lock > 0)
            throw EInvalidKey();
        throw EBadChecksum();
    }
    if (produced != ExpandedSize)
        throw EExpandedSizeMismatch(produced, ExpandedSize);
}

} // namespace zorp
