#include "framework/base/Stream.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <vector>

namespace zorp::fw {

void TStream::SetSize(int64_t) {
    throw EStreamError("Stream cannot be resized");
}

int64_t TStream::Size() {
    const int64_t pos = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, int32_t Count) {
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    if (Count < 0)
        throw EReadError("Stream read error");
    constexpr int64_t chunk = 64 * 1024;
    std::vector<char> buffer(static_cast<size_t>(std::min(Count, chunk)));
    for (int64_t left = Count; left > 0;) {
        const auto n = static_cast<int32_t>(std::min(left, chunk));
        Source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return Count;
}

} // namespace zorp::fw
