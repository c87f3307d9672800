#include "framework/base/MemoryStream.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zorp::fw {

namespace {

void CheckStorageSize(int64_t Size) {
    if (Size < 0 || static_cast<uint64_t>(Size) > std::numeric_limits<size_t>::max() / 2)
        throw EStreamError("Invalid stream size");
}

} // namespace

int32_t TMemoryStream::Read(void* Buffer, int32_t Count) {
    if (Count <= 0 || FPosition >= FSize)
        return 0;
    const int64_t n = std::min<int64_t>(Count, FSize - FPosition);
    ZeroUpTo(FPosition + n);
    std::memcpy(Buffer, FData.get() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return static_cast<int32_t>(n);
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
    if (Count <= 0)
        return 0;
    const int64_t end = FPosition + Count;
    Reserve(end, false);
    // The bytes between the stored content and the write become zeros.
    if (FPosition > FFilled) {
        std::memset(FData.get() + FFilled, 0, static_cast<size_t>(FPosition - FFilled));
        FFilled = FPosition;
    }
    std::memcpy(FData.get() + FPosition, Buffer, static_cast<size_t>(Count));
    FFilled = std::max(FFilled, end);
    FSize = std::max(FSize, end);
    FPosition = end;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
    int64_t base = 0;
    if (Origin == soCurrent)
        base = FPosition;
    else if (Origin == soEnd)
        base = FSize;
    const int64_t target = base + Offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) {
    CheckStorageSize(NewSize);
    Reserve(NewSize, true);
    FSize = NewSize;
    FFilled = std::min(FFilled, NewSize);
    if (FPosition > NewSize)
        FPosition = NewSize;
}

void TMemoryStream::SetCapacity(int64_t NewCapacity) {
    CheckStorageSize(NewCapacity);
    Reserve(NewCapacity, true);
}

char* TMemoryStream::Memory() {
    ZeroUpTo(FSize);
    return FData.get();
}

const char* TMemoryStream::Memory() const {
    ZeroUpTo(FSize);
    return FData.get();
}

std::string TMemoryStream::DataString() const {
    ZeroUpTo(FSize);
    return std::string(FData.get(), static_cast<size_t>(FSize));
}

void TMemoryStream::Clear() {
    FData.reset();
    FCapacity = 0;
    FSize = 0;
    FFilled = 0;
    FPosition = 0;
}

void TMemoryStream::Reserve(int64_t Needed, bool Exact) {
    if (Needed <= FCapacity)
        return;
    const int64_t capacity = Exact ? Needed : std::max<int64_t>({Needed, 2 * FCapacity, 256});
    auto data = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(capacity));
    if (FFilled > 0)
        std::memcpy(data.get(), FData.get(), static_cast<size_t>(FFilled));
    FData = std::move(data);
    FCapacity = capacity;
}

void TMemoryStream::ZeroUpTo(int64_t End) const {
    if (End <= FFilled)
        return;
    std::memset(FData.get() + FFilled, 0, static_cast<size_t>(End - FFilled));
    FFilled = End;
}

void TMemoryStream::LoadFromStream(TStream& Source) {
    Source.SetPosition(0);
    const int64_t size = Source.Size();
    SetSize(size);
    FPosition = 0;
    FFilled = 0;
    for (int64_t done = 0; done < size;) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30));
        Source.ReadBuffer(FData.get() + done, n);
        done += n;
        FFilled = done;
    }
}

void TMemoryStream::SaveToStream(TStream& Dest) {
    ZeroUpTo(FSize);
    for (int64_t done = 0; done < FSize;) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(FSize - done, 1 << 30));
        Dest.WriteBuffer(FData.get() + done, n);
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
