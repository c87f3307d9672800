#include "framework/base/BufferedStream.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace zorp::fw {

TBufferedStream::TBufferedStream(TStream& Inner, int32_t Capacity)
    : FInner(Inner), FBuffer(static_cast<size_t>(std::max(Capacity, 1))),
      FInnerPos(Inner.Position()) {}

int32_t TBufferedStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    Flush();
    auto* out = static_cast<char*>(Buffer);
    const auto capacity = static_cast<int32_t>(FBuffer.size());
    int32_t done = 0;
    while (done < Count) {
        if (FPos < FEnd) {
            const int32_t n = std::min(FEnd - FPos, Count - done);
            std::memcpy(out + done, FBuffer.data() + FPos, static_cast<size_t>(n));
            FPos += n;
            done += n;
            continue;
        }
        FPos = FEnd = 0;
        int32_t n = 0;
        if (Count - done >= capacity) {
            n = FInner.Read(out + done, Count - done);
            done += std::max(n, 0);
        } else {
            n = FInner.Read(FBuffer.data(), capacity);
            FEnd = std::max(n, 0);
        }
        FInnerPos += std::max(n, 0);
        if (n <= 0)
            break;
    }
    return done;
}

int32_t TBufferedStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    DropReadAhead();
    const auto capacity = static_cast<int32_t>(FBuffer.size());
    if (Count > capacity - FPending)
        Flush();
    if (Count >= capacity) {
        const int32_t n = FInner.Write(Buffer, Count);
        FInnerPos += std::max(n, 0);
        return n;
    }
    std::memcpy(FBuffer.data() + FPending, Buffer, static_cast<size_t>(Count));
    FPending += Count;
    return Count;
}

int64_t TBufferedStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    if (Origin != soEnd) {
        const int64_t target = Origin == soCurrent ? Logical() + Offset : Offset;
        if (target == Logical())
            return target;
        // Within the bytes read ahead: no need to touch the other stream.
        const int64_t bufferStart = FInnerPos - FEnd;
        if (FEnd > 0 && target >= bufferStart && target <= FInnerPos) {
            FPos = static_cast<int32_t>(target - bufferStart);
            return target;
        }
        Offset = target;
        Origin = soBeginning;
    }
    Flush();
    FPos = FEnd = 0;
    FInnerPos = FInner.Seek(Offset, Origin);
    return FInnerPos;
}

void TBufferedStream::SetSize(int64_t NewSize) {
    Flush();
    DropReadAhead();
    FInner.SetSize(NewSize);
    FInnerPos = FInner.Position();
}

int64_t TBufferedStream::Size() {
    return std::max(FInner.Size(), FInnerPos + FPending);
}

void TBufferedStream::Flush() {
    if (FPending == 0)
        return;
    const int32_t pending = FPending;
    FPending = 0;
    const int32_t n = FInner.Write(FBuffer.data(), pending);
    FInnerPos += std::max(n, 0);
    if (n != pending)
        throw EWriteError("Stream write error");
}

void TBufferedStream::DropReadAhead() {
    if (FPos < FEnd)
        FInnerPos = FInner.Seek(FInnerPos - (FEnd - FPos), soBeginning);
    FPos = FEnd = 0;
}

} // namespace zorp::fw
