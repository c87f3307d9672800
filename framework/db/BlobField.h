// BLOB fields: TBlobField (bytes), TMemoField (text) and TGraphicField (pictures).
#pragma once

#include "../base/Export.h"
#include "../base/StringList.h"
#include "Field.h"

namespace zorp::fw {

/// A field holding bytes. Its value moves through the data set's blob streams.
class ZORP_API TBlobField : public TField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TBlobField";
    /// Creates an unattached field of type ftBlob, owned by AOwner.
    explicit TBlobField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// True: this is a BLOB field.
    bool IsBlob() const override { return true; }
    /// Set when the value was written through a blob stream since the
    /// record was loaded.
    /// @{
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    /// @}
    /// Character-set translation of text values. Bytes pass unchanged here
    /// either way; the flag is kept for the fields that switch it.
    /// @{
    bool Transliterate() const { return FTransliterate; }
    void SetTransliterate(bool Value) { FTransliterate = Value; }
    /// @}
    /// The field's type; setting it to a type that is not a BLOB type does nothing.
    /// @{
    TBlobType BlobType() const { return GetBlobType(); }
    void SetBlobType(TBlobType Value) { SetBlobTypeValue(Value); }
    /// @}
    /// Length of the value in bytes.
    int32_t BlobSize() { return GetBlobSize(); }

    /// Replaces the value with all of Stream, read from its start, through a blob stream;
    /// needs edit or insert.
    virtual void LoadFromStream(TStream& Stream);
    /// Writes the value to Stream.
    virtual void SaveToStream(TStream& Stream);
    /// Replaces the value with the contents of the file; needs edit or insert.
    void LoadFromFile(const std::string& FileName);
    /// Writes the value to the file, creating or replacing it.
    void SaveToFile(const std::string& FileName);
    /// Empties the value through a blob stream; needs edit or insert.
    void Clear() override;

    /// From another BLOB field (its value) or a string list (its text).
    void Assign(TObject& Source) override;
    /// To a string list (the value as lines).
    void AssignTo(TObject& Dest) override;

protected:
    /// Adds BlobType and Size.
    void DefineProperties(TPropertyList& Properties) override;
    /// Implements BlobType: the field's data type.
    virtual TBlobType GetBlobType() const { return DataType(); }
    /// Implements SetBlobType: takes Value as the data type when it is a BLOB type.
    virtual void SetBlobTypeValue(TBlobType Value);
    /// Implements BlobSize: reads the value and returns its length.
    virtual int32_t GetBlobSize();
    /// Returns the value's bytes; raises EDatabaseError when the field has no data set.
    std::string GetAsString() override;
    /// Replaces the value with the bytes of Value through a blob stream.
    void SetAsStringValue(const std::string& Value) override;
    /// True when the value is empty.
    bool GetIsNull() override;
    /// Returns "(GRAPHIC)" for a graphic field and "(BLOB)" otherwise, not the value.
    std::string GetText(bool DisplayText) override;

private:
    bool FModified = false;
    bool FTransliterate = false;
};

/// A BLOB field holding text.
class ZORP_API TMemoField : public TBlobField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TMemoField";
    /// Creates an unattached field of type ftMemo with Transliterate on, owned by AOwner.
    explicit TMemoField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

protected:
    /// Returns the text itself.
    std::string GetText(bool DisplayText) override;
};

/// A BLOB field holding a picture.
class ZORP_API TGraphicField : public TBlobField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TGraphicField";
    /// Creates an unattached field of type ftGraphic, owned by AOwner.
    explicit TGraphicField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp::fw
