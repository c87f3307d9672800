// TMemoryStream: a growable in-memory stream. SetSize may grow it ahead of
// writing, SetCapacity reserve room for it; writing past the end grows it as
// needed.
//
// The storage grows geometrically and is not cleared when it grows. Bytes
// that SetSize or a write past the end exposes read as zeros, but they are
// only stored as zeros when something reads them or writes beyond them, so a
// stream sized ahead and then written costs one copy of the data.
#pragma once

#include "Export.h"
#include "Stream.h"

#include <memory>
#include <string>

namespace zorp::fw {

class ZORP_API TMemoryStream : public TStream {
public:
    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(int64_t NewSize) override;
    int64_t Size() override { return FSize; }
    // Reserves storage for NewCapacity bytes without changing the size or the
    // content, so that writing up to there does not move the data; storage
    // already larger stays as it is.
    void SetCapacity(int64_t NewCapacity);

    // The stream's bytes; valid until the next write or resize.
    char* Memory();
    const char* Memory() const;
    // A copy of the whole content as a byte string.
    std::string DataString() const;

    void Clear();
    void LoadFromStream(TStream& Source);
    void SaveToStream(TStream& Dest);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

private:
    // Makes room for Needed bytes, at least doubling the storage when it
    // has to move (Exact: just Needed, for a size set ahead).
    void Reserve(int64_t Needed, bool Exact);
    // Stores the zeros of the bytes from FFilled up to End.
    void ZeroUpTo(int64_t End) const;

    std::unique_ptr<char[]> FData;
    int64_t FCapacity = 0;
    int64_t FSize = 0;
    // Bytes below FFilled hold the content; those from FFilled up to FSize
    // are zeros not stored yet. FFilled <= FSize <= FCapacity.
    mutable int64_t FFilled = 0;
    int64_t FPosition = 0;
};

} // namespace zorp::fw
