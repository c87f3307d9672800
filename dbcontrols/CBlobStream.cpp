#include "dbcontrols/CBlobStream.h"

#include "dbcontrols/CompressedFields.h"
#include "framework/db/BlobStream.h"
#include "framework/db/DataSet.h"

namespace zorp {

TCBlobStream::TCBlobStream(TCBlobField& Field, fw::TBlobStreamMode Mode) : FField(Field) {
    if (Field.Transliterate()) {
        FRestoreTransliterate = true;
        Field.SetTransliterate(false);
    }
    try {
        if (Field.DataSet() == nullptr)
            throw fw::EDatabaseError("Field '" + Field.FieldName() + "' has no dataset");
        FBlobStream = Field.DataSet()->CreateBlobStream(Field, Mode);
        if (Mode == fw::bmRead) {
            if (Field.CompressSource() != nullptr)
                Field.CompressSource()->Expand(FBuffer, *FBlobStream);
            else if (FBlobStream->Size() > 0)
                FBuffer.CopyFrom(*FBlobStream, 0);
        }
    } catch (...) {
        FClosed = true;
        if (auto* platform = dynamic_cast<fw::TBlobStream*>(FBlobStream.get()))
            platform->Discard();
        Release();
        throw;
    }
    FOpened = true;
    FBuffer.SetPosition(0);
    FBlobStream->SetPosition(0);
}

TCBlobStream::~TCBlobStream() {
    try {
        Close();
    } catch (...) {
        // Close reports write-back failures to callers that ask for them.
    }
}

int32_t TCBlobStream::Read(void* Buffer, int32_t Count) {
    return FOpened ? FBuffer.Read(Buffer, Count) : 0;
}

int32_t TCBlobStream::Write(const void* Buffer, int32_t Count) {
    if (!FOpened)
        return 0;
    FModified = true;
    return FBuffer.Write(Buffer, Count);
}

int64_t TCBlobStream::Seek(int64_t Offset, fw::TSeekOrigin Origin) {
    return FOpened ? FBuffer.Seek(Offset, Origin) : 0;
}

void TCBlobStream::Truncate() {
    if (!FOpened)
        return;
    FBuffer.SetSize(FBuffer.Position());
    FModified = true;
}

void TCBlobStream::Close() {
    if (FClosed)
        return;
    FClosed = true;
    try {
        if (FModified) {
            FBuffer.SetPosition(0);
            FBlobStream->SetPosition(0);
            // The method is read now, so a change while the stream was open applies.
            if (FField.CompressSource() != nullptr)
                FField.CompressSource()->Compress(*FBlobStream, FBuffer,
                                                  FField.CompressionMethod());
            else if (FBuffer.Size() > 0)
                FBlobStream->CopyFrom(FBuffer, 0);
        }
        // Unwritten, nothing goes back: a read stream leaves the value, and
        // the table's write stream empties it as it always does.
    } catch (...) {
        if (auto* platform = dynamic_cast<fw::TBlobStream*>(FBlobStream.get()))
            platform->Discard(); // a failed write-back leaves the value as it was
        Release();
        throw;
    }
    Release();
}

void TCBlobStream::Release() {
    if (FRestoreTransliterate)
        FField.SetTransliterate(true);
    FRestoreTransliterate = false;
    FBuffer.Clear();
    FField.SetModified(false);
    std::unique_ptr<fw::TStream> platform = std::move(FBlobStream);
    if (auto* blob = dynamic_cast<fw::TBlobStream*>(platform.get()))
        blob->Commit(); // records the write it received
}

} // namespace zorp
