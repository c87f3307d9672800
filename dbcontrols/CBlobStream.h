#pragma once

#include "../framework/base/Export.h"
#include "../framework/base/MemoryStream.h"
#include "../framework/db/DBTypes.h"

#include <memory>

namespace zorp {

class TCBlobField;

/// TCBlobStream: the stream behind every value operation of a compressed
/// field. Opened for reading it expands the whole stored value into memory;
/// written to, it keeps everything in memory and compresses it into the
/// table when it is closed. While open it switches the field's
/// Transliterate flag off, so stored bytes pass untranslated.
class ZORP_API TCBlobStream : public fw::TStream {
public:
    /// Opens the table's stream of Field's value in Mode; for reading, expands the value into
    /// memory (copies it when the field has no CompressSource). A field without a data set
    /// raises EDatabaseError; on any failure the field's flags are restored first.
    TCBlobStream(TCBlobField& Field, fw::TBlobStreamMode Mode);
    /// Closes the stream if Close was not called, swallowing any error.
    ~TCBlobStream() override;

    /// Reads from the expanded value held in memory.
    int32_t Read(void* Buffer, int32_t Count) override;
    /// Writes into the value held in memory and marks it changed, so Close writes it back.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Moves within the value held in memory.
    int64_t Seek(int64_t Offset, fw::TSeekOrigin Origin) override;
    /// The size of the expanded value held in memory.
    int64_t Size() override { return FBuffer.Size(); }
    /// Cuts the value at the current position and marks it changed.
    void Truncate();
    /// Writes a changed value back (compressed when the field has a
    /// CompressSource), restores Transliterate and releases the table's
    /// stream; errors propagate.
    void Close();

private:
    // Restores the field's flags and releases the table's stream.
    void Release();

    bool FRestoreTransliterate = false;
    bool FOpened = false;
    TCBlobField& FField;
    bool FModified = false;
    std::unique_ptr<fw::TStream> FBlobStream;
    fw::TMemoryStream FBuffer;
    bool FClosed = false;
};

} // namespace zorp
