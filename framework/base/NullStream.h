#pragma once

#include "Export.h"
#include "Stream.h"

#include <cstdint>

namespace zorp::fw {

/// A stream that keeps nothing: writes are counted and dropped, reads deliver
/// nothing. Its position and size are the bytes written so far, wherever a
/// seek asks to go. It serves work done only for its checks, such as
/// verifying compressed data.
class ZORP_API TNullStream : public TStream {
public:
    /// Nothing to deliver.
    int32_t Read(void* /*Buffer*/, int32_t /*Count*/) override { return 0; }
    /// Counts Count bytes as written.
    int32_t Write(const void* /*Buffer*/, int32_t Count) override {
        FWritten += Count;
        return Count;
    }
    /// Stays at the end: returns the bytes written.
    int64_t Seek(int64_t /*Offset*/, TSeekOrigin /*Origin*/) override { return FWritten; }
    /// The bytes written.
    int64_t Size() override { return FWritten; }

private:
    int64_t FWritten = 0;
};

} // namespace zorp::fw
