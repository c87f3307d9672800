#include "framework/base/ReadOnlyMemoryStream.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace zorp::fw {

int32_t TReadOnlyMemoryStream::Read(void* Buffer, int32_t Count) {
    const auto size = static_cast<int64_t>(FBytes.size());
    if (Count <= 0 || FPosition >= size)
        return 0;
    const int64_t n = std::min<int64_t>(Count, size - FPosition);
    std::memcpy(Buffer, FBytes.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return static_cast<int32_t>(n);
}

int32_t TReadOnlyMemoryStream::Write(const void*, int32_t) {
    throw EStreamError("Can't write to a read-only memory stream");
}

int64_t TReadOnlyMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = 0;
    if (Origin == soCurrent)
        base = FPosition;
    else if (Origin == soEnd)
        base = static_cast<int64_t>(FBytes.size());
    const int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    FPosition = target;
    return FPosition;
}

} // namespace zorp::fw
