// Compressed BLOB fields, and the graphic header in front of their bitmaps.
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

/// The size of the header in front of a bitmap in the expanded value of a field of type
/// ftGraphic or ftTypedBinary: count 1 and type 0x0100 (16-bit), then the
/// number of bitmap bytes that follow (32-bit), all little-endian.
inline constexpr int32_t GraphicHeaderSize = 8;
/// Returns the graphic header for a bitmap of BitmapSize bytes.
ZORP_API std::array<uint8_t, GraphicHeaderSize> GraphicHeader(int32_t BitmapSize);
/// Whether the first GraphicHeaderSize bytes of a value of Total bytes are a
/// graphic header that counts the rest of the value.
ZORP_API bool IsGraphicHeader(const uint8_t* Bytes, int64_t Total);

/// A compressed BLOB field. Through its value interface it takes and gives
/// the expanded value, while the table holds what TZorp::Compress writes for
/// it (with the field's CompressionMethod). A field without a CompressSource
/// stores values unchanged. Stored values without a header (written by a
/// plain field, or before compression was on) read back unchanged, so a
/// column may mix compressed and plain rows.
class ZORP_API TCBlobField : public fw::TBlobField {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCBlobField";
    /// Starts as an ftBlob field without a CompressSource; the owner frees it.
    explicit TCBlobField(fw::TComponent* AOwner);
    /// Stops following the CompressSource's removal.
    ~TCBlobField() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The component that compresses and expands the field's values (none: values are
    /// stored unchanged). The field follows the component's removal and forgets it then.
    /// @{
    TZorp* CompressSource() const { return FCompressSource; }
    void SetCompressSource(TZorp* Value);
    /// @}
    /// The method a changed value is compressed with; it is read when the value is written
    /// back, so a change while a value stream is open applies to it.
    /// @{
    TZorpMethod CompressionMethod() const { return FCompressionMethod; }
    void SetCompressionMethod(TZorpMethod Value) { FCompressionMethod = Value; }
    /// @}

    /// Stores the whole of Stream, from its beginning, as the field's value.
    void LoadFromStream(fw::TStream& Stream) override;
    /// Writes the expanded value to Stream at its current position.
    void SaveToStream(fw::TStream& Stream) override;
    /// Stores the lines of Strings as the field's value.
    void LoadFromStrings(const fw::TStrings& Strings);
    /// Replaces the lines of Strings with the expanded value.
    void SaveToStrings(fw::TStrings& Strings);
    /// Stores a bitmap; fields of type ftGraphic and ftTypedBinary put the
    /// 8-byte graphic header in front of it.
    void LoadFromBitmap(const fw::TBitmap& Bitmap);
    /// Loads a bitmap, skipping a graphic header whatever the field's type.
    void SaveToBitmap(fw::TBitmap& Bitmap);
    /// Stores another BLOB field's value.
    void LoadFromBlob(fw::TBlobField& Source);

    /// From a compressed field (its expanded value), a string list, a bitmap
    /// or a picture holding a bitmap; otherwise as a plain BLOB field.
    void Assign(fw::TObject& Source) override;
    /// To a string list, a bitmap or a picture; otherwise as a plain field.
    void AssignTo(fw::TObject& Dest) override;
    /// Empties the stored value.
    void Clear() override;

protected:
    /// Adds CompressSource and CompressionMethod.
    void DefineProperties(fw::TPropertyList& Properties) override;
    /// Also forgets CompressSource when that component is removed.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
    /// Returns the expanded value.
    std::string GetAsString() override;
    /// Stores Value, compressed when the field has a CompressSource.
    void SetAsStringValue(const std::string& Value) override;
    /// Returns the expanded value as a string variant.
    fw::TVariant GetAsVariant() override;
    /// Stores the variant's string form, as SetAsStringValue does.
    void SetVarValue(const fw::TVariant& Value) override;
    /// While the field is modified, whether the table's stored value is empty; otherwise as a
    /// plain BLOB field.
    bool GetIsNull() override;
    /// The expanded text for ftMemo and ftFmtMemo fields; "(GRAPHIC)" for ftGraphic and
    /// "(BLOB)" for the other types.
    std::string GetText(bool DisplayText) override;
    /// Refuses: setting Text raises EDatabaseError through AccessError.
    void SetTextValue(const std::string& Value) override;
    /// Returns the size of the expanded value.
    int32_t GetBlobSize() override;
    /// Takes only the BLOB types (ftBlob to ftOraClob); any other type is ignored.
    void SetBlobTypeValue(fw::TBlobType Value) override;

private:
    TZorp* FCompressSource = nullptr;
    TZorpMethod FCompressionMethod = coNone;
};

/// A compressed BLOB field holding text: the field the memo and rich-text controls bind.
class ZORP_API TCMemoField : public TCBlobField {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCMemoField";
    /// Starts as an ftMemo field with Transliterate on; the owner frees it.
    explicit TCMemoField(fw::TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

/// A compressed BLOB field holding a picture: the field the image control binds.
class ZORP_API TCGraphicField : public TCBlobField {
public:
    /// The name the class registry and form files know this class by.
    static constexpr const char* StaticClassName = "TCGraphicField";
    /// Starts as an ftGraphic field, so bitmaps are stored behind the graphic header; the owner
    /// frees it.
    explicit TCGraphicField(fw::TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp
