// Compressed BLOB fields. Through their value interface they take and give
// the expanded value, while the table holds what TZorp::Compress writes for
// it (with the field's CompressionMethod). A field without a CompressSource
// stores values unchanged. Stored values without a header (written by a
// plain field, or before compression was on) read back unchanged, so a
// column may mix compressed and plain rows.
#pragma once

#include "../component/Zorp.h"
#include "../framework/base/Export.h"
#include "../framework/db/BlobField.h"

#include <array>
#include <cstdint>

namespace zorp::fw {
class TBitmap;
class TPicture;
} // namespace zorp::fw

namespace zorp {

// The header in front of a bitmap in the expanded value of a field of type
// ftGraphic or ftTypedBinary: count 1 and type 0x0100 (16-bit), then the
// number of bitmap bytes that follow (32-bit), all little-endian.
inline constexpr int32_t GraphicHeaderSize = 8;
ZORP_API std::array<uint8_t, GraphicHeaderSize> GraphicHeader(int32_t BitmapSize);
// Whether the first GraphicHeaderSize bytes of a value of Total bytes are a
// graphic header that counts the rest of the value.
ZORP_API bool IsGraphicHeader(const uint8_t* Bytes, int64_t Total);

class ZORP_API TCBlobField : public fw::TBlobField {
public:
    static constexpr const char* StaticClassName = "TCBlobField";
    explicit TCBlobField(fw::TComponent* AOwner);
    ~TCBlobField() override;
    std::string ClassName() const override { return StaticClassName; }

    TZorp* CompressSource() const { return FCompressSource; }
    // The field follows the component's removal and forgets it then.
    void SetCompressSource(TZorp* Value);
    TZorpMethod CompressionMethod() const { return FCompressionMethod; }
    void SetCompressionMethod(TZorpMethod Value) { FCompressionMethod = Value; }

    void LoadFromStream(fw::TStream& Stream) override;
    void SaveToStream(fw::TStream& Stream) override;
    void LoadFromStrings(const fw::TStrings& Strings);
    void SaveToStrings(fw::TStrings& Strings);
    // Stores a bitmap; fields of type ftGraphic and ftTypedBinary put the
    // 8-byte graphic header in front of it.
    void LoadFromBitmap(const fw::TBitmap& Bitmap);
    // Loads a bitmap, skipping a graphic header whatever the field's type.
    void SaveToBitmap(fw::TBitmap& Bitmap);
    // Stores another BLOB field's value.
    void LoadFromBlob(fw::TBlobField& Source);

    // From a compressed field (its expanded value), a string list, a bitmap
    // or a picture holding a bitmap; otherwise as a plain BLOB field.
    void Assign(fw::TObject& Source) override;
    // To a string list, a bitmap or a picture; otherwise as a plain field.
    void AssignTo(fw::TObject& Dest) override;
    void Clear() override;

protected:
    // Adds CompressSource and CompressionMethod.
    void DefineProperties(fw::TPropertyList& Properties) override;
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    std::string GetAsString() override;
    void SetAsStringValue(const std::string& Value) override;
    fw::TVariant GetAsVariant() override;
    void SetVarValue(const fw::TVariant& Value) override;
    bool GetIsNull() override;
    std::string GetText(bool DisplayText) override;
    void SetTextValue(const std::string& Value) override;
    int32_t GetBlobSize() override;
    void SetBlobTypeValue(fw::TBlobType Value) override;

private:
    TZorp* FCompressSource = nullptr;
    TZorpMethod FCompressionMethod = coNone;
};

class ZORP_API TCMemoField : public TCBlobField {
public:
    static constexpr const char* StaticClassName = "TCMemoField";
    explicit TCMemoField(fw::TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }
};

class ZORP_API TCGraphicField : public TCBlobField {
public:
    static constexpr const char* StaticClassName = "TCGraphicField";
    explicit TCGraphicField(fw::TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp
