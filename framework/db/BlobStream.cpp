#include "framework/db/BlobStream.h"

#include "framework/db/BlobField.h"
#include "framework/db/DataSet.h"

namespace zorp::fw {

TBlobStream::TBlobStream(TField& Field, TBlobStreamMode Mode) : FField(Field), FMode(Mode) {
    TDataSet* dataSet = Field.DataSet();
    if (dataSet == nullptr)
        throw EDatabaseError("Field '" + Field.FieldName() + "' has no dataset");
    if (Mode != bmRead) {
        dataSet->CheckEditing();
        if (!Field.CanModify())
            throw EDatabaseError("Field '" + Field.FieldName() + "' cannot be modified");
    }
    if (Mode != bmWrite) {
        const std::string value = VarToStr(dataSet->GetFieldData(Field.FieldNo()));
        if (!value.empty())
            FData.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
        FData.SetPosition(0);
    }
    FWritten = Mode == bmWrite; // opening for write truncates the value
}

TBlobStream::~TBlobStream() {
    try {
        Commit();
    } catch (const Exception&) {
        // Only when the record left edit mode while the stream was open;
        // Commit reports it to callers that ask.
    }
}

void TBlobStream::Commit() {
    if (!FWritten)
        return;
    FWritten = false;
    FField.DataSet()->SetFieldData(FField, FData.DataString());
    if (auto* blob = dynamic_cast<TBlobField*>(&FField))
        blob->SetModified(true);
}

int32_t TBlobStream::Write(const void* Buffer, int32_t Count) {
    if (FMode == bmRead)
        return 0;
    FWritten = true;
    return FData.Write(Buffer, Count);
}

void TBlobStream::SetSize(int64_t NewSize) {
    if (FMode == bmRead)
        throw EStreamError("Stream opened for reading only");
    FWritten = true;
    FData.SetSize(NewSize);
}

} // namespace zorp::fw
