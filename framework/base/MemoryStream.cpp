#include "framework/base/MemoryStream.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"

#include <cstring>
#include <limits>

namespace zorp::fw {

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0 || FPosition >= Size())
        return 0;
    const int64_t n = std::min<int64_t>(Count, Size() - FPosition);
    std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    const int64_t end = FPosition + Count;
    if (end > Size())
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = 0;
    if (Origin == soCurrent)
        base = FPosition;
    else if (Origin == soEnd)
        base = Size();
    const int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    if (NewSize < 0 || static_cast<uint64_t>(NewSize) > std::numeric_limits<size_t>::max() / 2)
        throw EStreamError("Invalid stream size");
    FData.resize(static_cast<size_t>(NewSize));
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Source) {
    Source.SetPosition(0);
    const int64_t size = Source.Size();
    SetSize(size);
    FPosition = 0;
    for (int64_t done = 0; done < size;) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30));
        Source.ReadBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::SaveToStream(TStream& Dest) {
    for (int64_t done = 0; done < Size();) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(Size() - done, 1 << 30));
        Dest.WriteBuffer(FData.data() + done, n);
        done += n;
    }
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

} // namespace zorp::fw
