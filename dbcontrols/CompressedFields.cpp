#include "dbcontrols/CompressedFields.h"

#include "dbcontrols/CBlobStream.h"
#include "framework/base/FileStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/Picture.h"
#include "framework/db/BlobStream.h"
#include "framework/db/DataSet.h"

#include <array>

namespace zorp {

std::array<uint8_t, GraphicHeaderSize> GraphicHeader(int32_t BitmapSize) {
    const auto s = static_cast<uint32_t>(BitmapSize);
    return {1,
            0,
            0x00,
            0x01,
            static_cast<uint8_t>(s),
            static_cast<uint8_t>(s >> 8),
            static_cast<uint8_t>(s >> 16),
            static_cast<uint8_t>(s >> 24)};
}

bool IsGraphicHeader(const uint8_t* Bytes, int64_t Total) {
    const auto size = static_cast<int32_t>(Bytes[4] | Bytes[5] << 8 | Bytes[6] << 16 |
                                           static_cast<uint32_t>(Bytes[7]) << 24);
    return Bytes[0] == 1 && Bytes[1] == 0 && Bytes[2] == 0x00 && Bytes[3] == 0x01 &&
           size == Total - GraphicHeaderSize;
}

TCBlobField::TCBlobField(fw::TComponent* AOwner) : fw::TBlobField(AOwner) {
    SetBlobTypeValue(fw::ftBlob);
}

TCBlobField::~TCBlobField() {
    SetCompressSource(nullptr);
}

void TCBlobField::DefineProperties(fw::TPropertyList& Properties) {
    fw::TBlobField::DefineProperties(Properties);
    Properties.AddComponent<TZorp>(
        "CompressSource", [this] { return FCompressSource; },
        [this](TZorp* Value) { SetCompressSource(Value); });
    Properties.AddEnumeration(
        "CompressionMethod", ZorpMethodNames(), [this] { return FCompressionMethod; },
        [this](int64_t Value) { FCompressionMethod = static_cast<TZorpMethod>(Value); });
}

void TCBlobField::SetCompressSource(TZorp* Value) {
    if (Value == FCompressSource)
        return;
    if (FCompressSource != nullptr)
        RemoveFreeNotification(FCompressSource);
    FCompressSource = Value;
    if (FCompressSource != nullptr)
        FreeNotification(FCompressSource);
}

void TCBlobField::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    fw::TBlobField::Notification(AComponent, Operation);
    if (Operation == fw::opRemove && AComponent == FCompressSource)
        FCompressSource = nullptr; // never use a freed component
}

std::string TCBlobField::GetAsString() {
    TCBlobStream stream(*this, fw::bmRead);
    std::string value(static_cast<size_t>(stream.Size()), '\0');
    if (!value.empty())
        stream.ReadBuffer(value.data(), static_cast<int32_t>(value.size()));
    stream.Close();
    return value;
}

void TCBlobField::SetAsStringValue(const std::string& Value) {
    TCBlobStream stream(*this, fw::bmWrite);
    if (!Value.empty())
        stream.WriteBuffer(Value.data(), static_cast<int32_t>(Value.size()));
    stream.Close();
}

fw::TVariant TCBlobField::GetAsVariant() {
    return GetAsString();
}

void TCBlobField::SetVarValue(const fw::TVariant& Value) {
    SetAsStringValue(fw::VarToStr(Value));
}

int32_t TCBlobField::GetBlobSize() {
    TCBlobStream stream(*this, fw::bmRead);
    const auto size = static_cast<int32_t>(stream.Size());
    stream.Close();
    return size;
}

bool TCBlobField::GetIsNull() {
    if (Modified()) {
        const std::unique_ptr<fw::TStream> stored = DataSet()->CreateBlobStream(*this, fw::bmRead);
        return stored->Size() == 0;
    }
    return fw::TBlobField::GetIsNull();
}

std::string TCBlobField::GetText(bool) {
    if (DataType() == fw::ftMemo || DataType() == fw::ftFmtMemo)
        return GetAsString(); // the expanded text
    return DataType() == fw::ftGraphic ? "(GRAPHIC)" : "(BLOB)";
}

void TCBlobField::SetTextValue(const std::string&) {
    AccessError("Text");
}

void TCBlobField::Clear() {
    std::unique_ptr<fw::TStream> stored = DataSet()->CreateBlobStream(*this, fw::bmWrite);
    if (auto* platform = dynamic_cast<fw::TBlobStream*>(stored.get()))
        platform->Commit();
}

void TCBlobField::SetBlobTypeValue(fw::TBlobType Value) {
    if (Value >= fw::ftBlob && Value <= fw::ftOraClob)
        fw::TBlobField::SetBlobTypeValue(Value);
}

void TCBlobField::LoadFromStream(fw::TStream& Stream) {
    TCBlobStream blob(*this, fw::bmWrite);
    blob.CopyFrom(Stream, 0);
    blob.Close();
}

void TCBlobField::SaveToStream(fw::TStream& Stream) {
    TCBlobStream blob(*this, fw::bmRead);
    if (blob.Size() > 0)
        Stream.CopyFrom(blob, blob.Size());
    blob.Close();
}

void TCBlobField::LoadFromStrings(const fw::TStrings& Strings) {
    TCBlobStream blob(*this, fw::bmWrite);
    Strings.SaveToStream(blob);
    blob.Close();
}

void TCBlobField::SaveToStrings(fw::TStrings& Strings) {
    TCBlobStream blob(*this, fw::bmRead);
    Strings.LoadFromStream(blob);
    blob.Close();
}

void TCBlobField::LoadFromBitmap(const fw::TBitmap& Bitmap) {
    TCBlobStream blob(*this, fw::bmWrite);
    const bool withHeader = DataType() == fw::ftGraphic || DataType() == fw::ftTypedBinary;
    if (withHeader) {
        const auto header = GraphicHeader(0);
        blob.WriteBuffer(header.data(), GraphicHeaderSize);
    }
    Bitmap.SaveToStream(blob);
    if (withHeader) {
        const auto header =
            GraphicHeader(static_cast<int32_t>(blob.Position() - GraphicHeaderSize));
        blob.SetPosition(0);
        blob.WriteBuffer(header.data(), GraphicHeaderSize);
    }
    blob.Close();
}

void TCBlobField::SaveToBitmap(fw::TBitmap& Bitmap) {
    TCBlobStream blob(*this, fw::bmRead);
    const int64_t total = blob.Size();
    if (total >= GraphicHeaderSize) {
        std::array<uint8_t, GraphicHeaderSize> header{};
        blob.ReadBuffer(header.data(), GraphicHeaderSize);
        if (!IsGraphicHeader(header.data(), total))
            blob.SetPosition(0);
    }
    Bitmap.LoadFromStream(blob);
    blob.Close();
}

void TCBlobField::LoadFromBlob(fw::TBlobField& Source) {
    TCBlobStream blob(*this, fw::bmWrite);
    Source.SaveToStream(blob);
    blob.Close();
}

void TCBlobField::Assign(fw::TObject& Source) {
    if (auto* compressed = dynamic_cast<TCBlobField*>(&Source)) {
        LoadFromBlob(*compressed); // its expanded value, through its own stream
    } else if (auto* strings = dynamic_cast<fw::TStrings*>(&Source)) {
        LoadFromStrings(*strings);
    } else if (auto* bitmap = dynamic_cast<fw::TBitmap*>(&Source)) {
        LoadFromBitmap(*bitmap);
    } else if (auto* picture = dynamic_cast<fw::TPicture*>(&Source);
               picture != nullptr && dynamic_cast<fw::TBitmap*>(picture->Graphic()) != nullptr) {
        LoadFromBitmap(*dynamic_cast<fw::TBitmap*>(picture->Graphic()));
    } else {
        fw::TBlobField::Assign(Source);
    }
}

void TCBlobField::AssignTo(fw::TObject& Dest) {
    if (auto* strings = dynamic_cast<fw::TStrings*>(&Dest))
        SaveToStrings(*strings);
    else if (auto* bitmap = dynamic_cast<fw::TBitmap*>(&Dest))
        SaveToBitmap(*bitmap);
    else if (auto* picture = dynamic_cast<fw::TPicture*>(&Dest))
        SaveToBitmap(picture->Bitmap());
    else
        fw::TBlobField::AssignTo(Dest);
}

TCMemoField::TCMemoField(fw::TComponent* AOwner) : TCBlobField(AOwner) {
    SetBlobTypeValue(fw::ftMemo);
    SetTransliterate(true);
}

TCGraphicField::TCGraphicField(fw::TComponent* AOwner) : TCBlobField(AOwner) {
    SetBlobTypeValue(fw::ftGraphic);
}

} // namespace zorp
