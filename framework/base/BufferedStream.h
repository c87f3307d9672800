#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstdint>
#include <vector>

namespace zorp::fw {

/// A stream that gathers the small reads and writes of the engine (a few KiB
/// each) into large blocks on another stream, so that each of them is not a
/// system call on the file.
///
/// Reads fill the buffer ahead; writes wait in it until it is full, until
/// Flush, or until a seek, a size change or a read needs the other stream to
/// be up to date. Reads and writes as large as the buffer go straight through.
///
/// Pending bytes that were not flushed are dropped on destruction: the owner
/// flushes when its run succeeded, and a failed run writes no more of its
/// output. Flush raises EWriteError ("Stream write error", as WriteBuffer
/// does) when the other stream takes fewer bytes, and drops the rest then.
/// While buffered data exist, the other stream must not be used directly.
class ZORP_API TBufferedStream : public TStream {
public:
    /// Buffers Inner, from its current position, through a buffer of Capacity
    /// bytes (at least 1); Inner must outlive this stream.
    TBufferedStream(TStream& Inner, int32_t Capacity);
    /// A buffered stream is not copied.
    /// @{
    TBufferedStream(const TBufferedStream&) = delete;
    TBufferedStream& operator=(const TBufferedStream&) = delete;
    /// @}

    /// Flushes pending writes, then delivers from the buffer, filling it from
    /// the other stream as it runs out.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Drops the read-ahead and keeps the bytes in the buffer, flushing first
    /// when they do not fit.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Moves within the bytes read ahead without touching the other stream;
    /// elsewhere it flushes and seeks the other stream.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// Flushes, drops the read-ahead and resizes the other stream.
    void SetSize(int64_t NewSize) override;
    /// The other stream's size, or more when pending writes reach beyond it.
    int64_t Size() override;

    /// Writes the pending bytes to the other stream.
    void Flush();

private:
    int64_t Logical() const { return FInnerPos - (FEnd - FPos) + FPending; }
    // Forgets the bytes read ahead, moving the other stream back to the
    // position of the next unread byte.
    void DropReadAhead();

    TStream& FInner;
    std::vector<char> FBuffer;
    int64_t FInnerPos;    // position of the other stream
    int32_t FPos = 0;     // next unread byte of the bytes read ahead
    int32_t FEnd = 0;     // bytes read ahead
    int32_t FPending = 0; // bytes written and not yet flushed
};

} // namespace zorp::fw
