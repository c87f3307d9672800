// Adapters that let the framework read a std::istream and write a
// std::ostream as a TStream.
//
// Both work on the standard stream's buffer (rdbuf()), from where it stands;
// the standard stream's state flags are neither consulted nor changed. Where
// the buffer can seek (files, string streams), so can the adapter, and its
// positions and size are those of the standard stream. Where it cannot (a
// pipe, a socket, a terminal), the adapter counts the bytes it has moved:
// Position() is that count, a seek to it is allowed, and any other seek, as
// well as Size(), raises EStreamError ("Stream is not seekable").
#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstdint>
#include <ios>
#include <istream>
#include <ostream>
#include <streambuf>

namespace zorp::fw {

/// The seeking both adapters share.
class ZORP_API TStdStreamAdapter : public TStream {
public:
    /// Seeks the standard stream's buffer; where it cannot seek, only a seek
    /// to the count of bytes moved is allowed and any other raises
    /// EStreamError.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// False for a buffer that cannot seek, such as a pipe's.
    bool Seekable() const { return FSeekable; }

protected:
    /// Which is std::ios::in for a reading adapter, std::ios::out for a
    /// writing one. Raises EStreamError when Buffer is null.
    TStdStreamAdapter(std::streambuf* Buffer, std::ios::openmode Which);

    /// The standard stream's buffer.
    std::streambuf& FBuffer;
    /// Bytes read or written, for a buffer that cannot seek.
    int64_t FMoved = 0;

private:
    std::ios::openmode FWhich;
    bool FSeekable;
};

/// Reads a std::istream as a TStream.
class ZORP_API TStdInputStream : public TStdStreamAdapter {
public:
    /// Raises EStreamError when Stream has no buffer.
    explicit TStdInputStream(std::istream& Stream);

    /// Takes up to Count bytes from the buffer; fewer at the end.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Raises EStreamError: the stream is read only.
    int32_t Write(const void* Buffer, int32_t Count) override;
};

/// Writes a std::ostream as a TStream.
class ZORP_API TStdOutputStream : public TStdStreamAdapter {
public:
    /// Raises EStreamError when Stream has no buffer.
    explicit TStdOutputStream(std::ostream& Stream);

    /// Raises EStreamError: the stream is write only.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Puts up to Count bytes into the buffer; returns how many it took.
    int32_t Write(const void* Buffer, int32_t Count) override;
};

/// Copies Source from its position to its end into Dest, for sources whose
/// size is not known before their end. Returns the number of bytes copied.
ZORP_API int64_t CopyToEnd(TStream& Dest, TStream& Source);

} // namespace zorp::fw
