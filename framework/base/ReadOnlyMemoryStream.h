#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zorp::fw {

/// A stream over bytes that already exist in memory (a string, a vector, a
/// mapped file), read where they are, without a copy. The bytes must outlive
/// the stream and stay unchanged while it is read. It cannot be written or
/// resized.
class ZORP_API TReadOnlyMemoryStream : public TStream {
public:
    /// A stream over Bytes, at position 0.
    /// @{
    explicit TReadOnlyMemoryStream(std::span<const std::byte> Bytes) : FBytes(Bytes) {}
    explicit TReadOnlyMemoryStream(std::string_view Bytes)
        : FBytes(reinterpret_cast<const std::byte*>(Bytes.data()), Bytes.size()) {}
    /// @}

    /// Copies bytes from where they are; nothing past the end.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Raises EStreamError: the bytes are not the stream's to change.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Any position from 0 on; reading past the end delivers nothing.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    /// Returns the number of bytes without seeking.
    int64_t Size() override { return static_cast<int64_t>(FBytes.size()); }

    /// The bytes the stream reads.
    std::span<const std::byte> Bytes() const { return FBytes; }

protected:
    /// Reads Bytes from now on, from position 0: for a stream that holds its
    /// bytes itself and can point at them only once they exist.
    void SetBytes(std::span<const std::byte> Bytes) {
        FBytes = Bytes;
        FPosition = 0;
    }

private:
    std::span<const std::byte> FBytes;
    int64_t FPosition = 0;
};

} // namespace zorp::fw
