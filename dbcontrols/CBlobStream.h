// TCBlobStream: the stream behind every value operation of a compressed
// field. Opened for reading it expands the whole stored value into memory;
// written to, it keeps everything in memory and compresses it into the
// table when it is closed. While open it switches the field's
// Transliterate flag off, so stored bytes pass untranslated.
#pragma once

#include "../framework/base/Export.h"
#include "../framework/base/MemoryStream.h"
#include "../framework/db/DBTypes.h"

#include <memory>

namespace zorp {

class TCBlobField;

class ZORP_API TCBlobStream : public fw::TStream {
public:
    TCBlobStream(TCBlobField& Field, fw::TBlobStreamMode Mode);
    // Closes the stream if Close was not called, swallowing any error.
    ~TCBlobStream() override;

    int32_t Read(void* Buffer, int32_t Count) override;
    int32_t Write(const void* Buffer, int32_t Count) override;
    int64_t Seek(int64_t Offset, fw::TSeekOrigin Origin) override;
    int64_t Size() override { return FBuffer.Size(); }
    // Cuts the value at the current position.
    void Truncate();
    // Writes a changed value back (compressed when the field has a
    // CompressSource), restores Transliterate and releases the table's
    // stream; errors propagate.
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
