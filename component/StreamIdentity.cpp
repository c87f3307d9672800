// IdentifyStream and IdentifyFile: the stream header, and for an archive its
// entry headers, read without expanding anything.
#include "component/StreamIdentity.h"

#include "component/Headers.h"
#include "framework/base/FileStream.h"

#include <array>
#include <iterator>

namespace zorp {

namespace {

// Reads Count bytes, fewer only where the stream ends.
int32_t ReadUpTo(fw::TStream& Stream, uint8_t* Buffer, int32_t Count) {
    int32_t done = 0;
    while (done < Count) {
        const int32_t n = Stream.Read(Buffer + done, Count - done);
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

TZorpMethod MethodOf(const std::string& ID) {
    for (size_t i = 0; i < std::size(MethodIDs); ++i)
        if (ID == MethodIDs[i])
            return static_cast<TZorpMethod>(i);
    return coCustom; // an application's own method
}

// Passes from one entry header to the next, from At to End, as the archive
// readers walk (see TArchiveWalk), and counts the entries.
void CountEntries(fw::TStream& Stream, int64_t At, int64_t End, TZorpStreamInfo& Info) {
    int64_t passed = 0;
    std::array<uint8_t, TZorpFileHeader::RecordSize> bytes{};
    while (At < End) {
        Stream.SetPosition(At);
        if (ReadUpTo(Stream, bytes.data(), TZorpFileHeader::RecordSize) !=
            TZorpFileHeader::RecordSize) {
            Info.Intact = false;
            return;
        }
        const TZorpFileHeader entry = TZorpFileHeader::Decode(bytes.data());
        const int64_t next =
            At + TZorpFileHeader::RecordSize + entry.NameLength + entry.CompressedSize;
        if (entry.NameLength < 0 || entry.CompressedSize < 0 || entry.Size < 0 || next > End ||
            passed + entry.Size > Info.ExpandedSize) {
            Info.Intact = false;
            return;
        }
        passed += entry.Size;
        ++Info.EntryCount;
        At = next;
    }
    Info.Intact = passed == Info.ExpandedSize;
}

std::optional<TZorpStreamInfo> ReadIdentity(fw::TStream& Stream, int64_t Start) {
    const int64_t stored = Stream.Size() - Start;
    std::array<uint8_t, TZorpHeader::RecordSize> bytes{};
    if (stored < TZorpHeader::RecordSize ||
        ReadUpTo(Stream, bytes.data(), TZorpHeader::RecordSize) != TZorpHeader::RecordSize)
        return std::nullopt;
    const TZorpHeader header = TZorpHeader::Decode(bytes.data());
    if (!header.HasMagic() || header.ArchiveType > caMulti || header.Size < 0)
        return std::nullopt;
    TZorpStreamInfo info;
    info.ArchiveType = static_cast<TZorpArchiveType>(header.ArchiveType);
    info.MethodID = header.MethodIDString();
    info.Method = MethodOf(info.MethodID);
    info.Locked = header.Lock > 0;
    info.ExpandedSize = header.Size;
    info.StoredSize = stored;
    if (info.ArchiveType == caMulti) {
        CountEntries(Stream, Start + TZorpHeader::RecordSize, Start + stored, info);
        return info;
    }
    // A header alone is data as they stand (see Expand), except that of
    // empty data locked with a key.
    if (stored == TZorpHeader::RecordSize && !(header.Size == 0 && info.Locked))
        return std::nullopt;
    return info;
}

} // namespace

std::optional<TZorpStreamInfo> IdentifyStream(fw::TStream& Stream) {
    const int64_t start = Stream.Position();
    std::optional<TZorpStreamInfo> info;
    try {
        info = ReadIdentity(Stream, start);
    } catch (...) {
        Stream.SetPosition(start);
        throw;
    }
    Stream.SetPosition(start);
    return info;
}

std::optional<TZorpStreamInfo> IdentifyFile(const std::filesystem::path& FileName) {
    fw::TFileStream file(FileName, fw::fmOpenRead | fw::fmShareDenyWrite);
    return IdentifyStream(file);
}

} // namespace zorp
