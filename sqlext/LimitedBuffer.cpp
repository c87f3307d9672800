#include "sqlext/LimitedBuffer.h"

namespace zorp::sql {

int32_t TLimitedBuffer::Write(const void* Buffer, int32_t Count) {
    if (Count > 0 && Position() + Count > FLimit)
        throw ETooBig();
    return fw::TMemoryStream::Write(Buffer, Count);
}

void TLimitedBuffer::SetSize(int64_t NewSize) {
    if (NewSize > FLimit)
        throw ETooBig();
    fw::TMemoryStream::SetSize(NewSize);
}

} // namespace zorp::sql
