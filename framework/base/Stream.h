#pragma once

#include "Export.h"
#include "Object.h"

#include <cstdint>

namespace zorp::fw {

/// Where the offset of TStream::Seek counts from.
enum TSeekOrigin : uint8_t {
    soBeginning, ///< The start of the stream.
    soCurrent,   ///< The current position.
    soEnd        ///< The end of the stream.
};

/// The framework's abstract byte stream. Read may deliver fewer bytes than
/// asked (0 at the end); ReadBuffer and WriteBuffer move exactly the count or
/// raise. Positions and sizes are 64-bit; the system's own fields are 32-bit
/// and are checked where they are filled.
class ZORP_API TStream : public TObject {
public:
    /// Delivers up to Count bytes into Buffer; returns how many (0 at the end).
    virtual int32_t Read(void* Buffer, int32_t Count) = 0;
    /// Writes up to Count bytes; returns how many were written.
    virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
    /// Moves the position and returns the new one.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    /// Changes the size; streams that cannot be resized raise EStreamError.
    virtual void SetSize(int64_t NewSize);

    /// The position from the start of the stream, read and set through Seek.
    /// @{
    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    /// @}
    /// The size in bytes; by default found by seeking to the end and back.
    virtual int64_t Size();

    /// Exactly Count bytes, or EReadError / EWriteError.
    /// @{
    void ReadBuffer(void* Buffer, int32_t Count);
    void WriteBuffer(const void* Buffer, int32_t Count);
    /// @}

    /// Copies Count bytes from Source's current position; Count 0 copies the
    /// whole of Source from its beginning. Returns the number of bytes copied.
    int64_t CopyFrom(TStream& Source, int64_t Count);
};

} // namespace zorp::fw
