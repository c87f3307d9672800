#pragma once

#include "../base/Export.h"
#include "../base/MemoryStream.h"
#include "DBTypes.h"

namespace zorp::fw {

class TField;

/// The data set's stream over one BLOB field of the current record. Read mode holds the
/// value; write mode needs edit or insert, starts empty and stores what it holds into the
/// record when freed (so a write stream freed at once empties the value); read-write starts
/// from the value and stores it back when it was written to.
class ZORP_API TBlobStream : public TStream {
public:
    /// Opens the stream on Field's value in the current record. Raises EDatabaseError when the
    /// field has no data set, or, for writing, when the data set is not in edit or insert or
    /// the field cannot be modified.
    TBlobStream(TField& Field, TBlobStreamMode Mode);
    /// Stores a written value (if Commit has not) and swallows any error.
    ~TBlobStream() override;

    /// Stores a written value into the record now and marks a BLOB field Modified; raises on
    /// failure.
    void Commit();
    /// Forgets what was written: the record keeps its value.
    void Discard() { FWritten = false; }

    /// Reads from the value held in memory.
    int32_t Read(void* Buffer, int32_t Count) override { return FData.Read(Buffer, Count); }
    /// Writes into the value held in memory, to be stored later; a read stream writes nothing
    /// and returns 0.
    int32_t Write(const void* Buffer, int32_t Count) override;
    /// Moves within the value held in memory.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override { return FData.Seek(Offset, Origin); }
    /// Resizes the value held in memory, to be stored later; a read stream raises
    /// EStreamError.
    void SetSize(int64_t NewSize) override;
    /// Length of the value held in memory.
    int64_t Size() override { return FData.Size(); }

private:
    TField& FField;
    TBlobStreamMode FMode;
    TMemoryStream FData;
    bool FWritten = false;
};

} // namespace zorp::fw
