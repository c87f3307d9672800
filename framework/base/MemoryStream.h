#pragma once

#include "Export.h"
#include "Stream.h"

#include <memory>
#include <string>

namespace zorp::fw {

/// A growable in-memory stream. SetSize may grow it ahead of writing,
/// SetCapacity reserve room for it; writing past the end grows it as needed.
///
/// The storage grows geometrically and is not cleared when it grows. Bytes
/// that SetSize or a write past the end exposes read as zeros, but they are
/// only stored as zeros when something reads them or writes beyond them, so a
/// stream sized ahead and then written costs one copy of the data.
class ZORP_API TMemoryStream : public TStream {
public:
    /// Reads from memory; bytes never written read as zeros.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Writes at the position, growing the stream when the write ends past it.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Moves to any position from 0 on, past the end too (a write there grows
    /// the stream); a negative one raises EStreamError.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// Grows or cuts the stream to NewSize bytes, reserving exactly that much
    /// storage; the position is moved back to the new end when it lay beyond.
    void SetSize(int64_t NewSize) override;
    /// Returns the size without seeking.
    int64_t Size() override { return FSize; }
    /// Reserves storage for NewCapacity bytes without changing the size or the
    /// content, so that writing up to there does not move the data; storage
    /// already larger stays as it is.
    void SetCapacity(int64_t NewCapacity);

    /// The stream's bytes; valid until the next write or resize.
    /// @{
    char* Memory();
    const char* Memory() const;
    /// @}
    /// A copy of the whole content as a byte string.
    std::string DataString() const;

    /// Frees the storage and leaves the stream empty at position 0.
    void Clear();
    /// Replaces the content with the whole of Source, read from its beginning;
    /// the position is then 0.
    void LoadFromStream(TStream& Source);
    /// Writes the whole content at Dest's position.
    void SaveToStream(TStream& Dest);
    /// Replaces the content with the file FileName.
    void LoadFromFile(const std::string& FileName);
    /// Writes the whole content as the file FileName, creating or replacing it.
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
