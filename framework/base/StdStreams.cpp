#include "framework/base/StdStreams.h"

#include "framework/base/Exceptions.h"

#include <vector>

namespace zorp::fw {

namespace {

std::streambuf* CheckedBuffer(std::streambuf* Buffer) {
    if (Buffer == nullptr)
        throw EStreamError("The standard stream has no buffer");
    return Buffer;
}

std::ios::seekdir Direction(TSeekOrigin Origin) {
    switch (Origin) {
    case soCurrent:
        return std::ios::cur;
    case soEnd:
        return std::ios::end;
    default:
        return std::ios::beg;
    }
}

constexpr std::streamoff NoPosition = -1;

} // namespace

TStdStreamAdapter::TStdStreamAdapter(std::streambuf* Buffer, std::ios::openmode Which)
    : FBuffer(*CheckedBuffer(Buffer)), FWhich(Which),
      FSeekable(FBuffer.pubseekoff(0, std::ios::cur, Which) != NoPosition) {}

int64_t TStdStreamAdapter::Seek(int64_t Offset, TSeekOrigin Origin) {
    if (!FSeekable) {
        // Only where the stream already stands, which Position() asks.
        if ((Origin == soCurrent && Offset == 0) || (Origin == soBeginning && Offset == FMoved))
            return FMoved;
        throw EStreamError("Stream is not seekable");
    }
    const std::streamoff at = FBuffer.pubseekoff(Offset, Direction(Origin), FWhich);
    if (at == NoPosition)
        throw EStreamError("Invalid stream position");
    return at;
}

TStdInputStream::TStdInputStream(std::istream& Stream)
    : TStdStreamAdapter(Stream.rdbuf(), std::ios::in) {}

int32_t TStdInputStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    const auto n = static_cast<int32_t>(FBuffer.sgetn(static_cast<char*>(Buffer), Count));
    FMoved += n;
    return n;
}

int32_t TStdInputStream::Write(const void*, int32_t) {
    throw EStreamError("Can't write to an input stream");
}

TStdOutputStream::TStdOutputStream(std::ostream& Stream)
    : TStdStreamAdapter(Stream.rdbuf(), std::ios::out) {}

int32_t TStdOutputStream::Read(void*, int32_t) {
    throw EStreamError("Can't read from an output stream");
}

int32_t TStdOutputStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    const auto n = static_cast<int32_t>(FBuffer.sputn(static_cast<const char*>(Buffer), Count));
    FMoved += n;
    return n;
}

int64_t CopyToEnd(TStream& Dest, TStream& Source) {
    std::vector<char> buffer(64 * 1024);
    int64_t total = 0;
    for (;;) {
        const int32_t n = Source.Read(buffer.data(), static_cast<int32_t>(buffer.size()));
        if (n <= 0)
            return total;
        Dest.WriteBuffer(buffer.data(), n);
        total += n;
    }
}

} // namespace zorp::fw
