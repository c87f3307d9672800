#include "framework/db/BlobField.h"

#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"
#include "framework/db/BlobStream.h"
#include "framework/db/DataSet.h"

namespace zorp::fw {

namespace {

// Writes through a blob stream and stores the value, reporting failures.
void WriteValue(TField& field, const std::string& value) {
    TBlobStream stream(field, bmWrite);
    if (!value.empty())
        stream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
    stream.Commit();
}

std::string ReadValue(TField& field) {
    return VarToStr(field.DataSet() ? field.DataSet()->GetFieldData(field.FieldNo()) : TVariant{});
}

} // namespace

TBlobField::TBlobField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftBlob);
}

void TBlobField::SetBlobTypeValue(TBlobType Value) {
    if (IsBlobType(Value))
        SetDataType(Value);
}

void TBlobField::DefineProperties(TPropertyList& Properties) {
    TField::DefineProperties(Properties);
    Properties.AddEnumeration(
        "BlobType", FieldTypeNames(), [this] { return GetBlobType(); },
        [this](int64_t Value) { SetBlobType(static_cast<TBlobType>(Value)); });
    Properties.AddInteger(
        "Size", [this] { return Size(); },
        [this](int64_t Value) { SetSize(static_cast<int32_t>(Value)); }, 0);
}

int32_t TBlobField::GetBlobSize() {
    return static_cast<int32_t>(ReadValue(*this).size());
}

std::string TBlobField::GetAsString() {
    if (DataSet() == nullptr)
        throw EDatabaseError("Field '" + FieldName() + "' has no dataset");
    return ReadValue(*this);
}

void TBlobField::SetAsStringValue(const std::string& Value) {
    WriteValue(*this, Value);
}

bool TBlobField::GetIsNull() {
    return ReadValue(*this).empty();
}

std::string TBlobField::GetText(bool) {
    return "(" + std::string(DataType() == ftGraphic ? "GRAPHIC" : "BLOB") + ")";
}

void TBlobField::Clear() {
    WriteValue(*this, std::string());
}

void TBlobField::LoadFromStream(TStream& Stream) {
    TBlobStream blob(*this, bmWrite);
    blob.CopyFrom(Stream, 0);
    blob.Commit();
}

void TBlobField::SaveToStream(TStream& Stream) {
    const std::string value = GetAsString();
    if (!value.empty())
        Stream.WriteBuffer(value.data(), static_cast<int32_t>(value.size()));
}

void TBlobField::LoadFromFile(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(file);
}

void TBlobField::SaveToFile(const std::string& FileName) {
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

void TBlobField::Assign(TObject& Source) {
    if (auto* blob = dynamic_cast<TBlobField*>(&Source)) {
        TMemoryStream value;
        blob->SaveToStream(value);
        LoadFromStream(value);
        return;
    }
    if (auto* lines = dynamic_cast<TStrings*>(&Source)) {
        TMemoryStream text;
        lines->SaveToStream(text);
        LoadFromStream(text);
        return;
    }
    TField::Assign(Source);
}

void TBlobField::AssignTo(TObject& Dest) {
    if (auto* lines = dynamic_cast<TStrings*>(&Dest)) {
        TMemoryStream text;
        SaveToStream(text);
        text.SetPosition(0);
        lines->LoadFromStream(text);
        return;
    }
    TField::AssignTo(Dest);
}

TMemoField::TMemoField(TComponent* AOwner) : TBlobField(AOwner) {
    SetDataType(ftMemo);
    SetTransliterate(true);
}

std::string TMemoField::GetText(bool) {
    return GetAsString();
}

TGraphicField::TGraphicField(TComponent* AOwner) : TBlobField(AOwner) {
    SetDataType(ftGraphic);
}

} // namespace zorp::fw
