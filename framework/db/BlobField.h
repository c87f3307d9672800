// BLOB fields: TBlobField (bytes), TMemoField (text) and TGraphicField
// (pictures). Their values move through the data set's blob streams.
#pragma once

#include "../base/Export.h"
#include "../base/StringList.h"
#include "Field.h"

namespace zorp::fw {

class ZORP_API TBlobField : public TField {
public:
    static constexpr const char* StaticClassName = "TBlobField";
    explicit TBlobField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }

    bool IsBlob() const override { return true; }
    // Set when the value was written through a blob stream since the
    // record was loaded.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // Character-set translation of text values. Bytes pass unchanged here
    // either way; the flag is kept for the fields that switch it.
    bool Transliterate() const { return FTransliterate; }
    void SetTransliterate(bool Value) { FTransliterate = Value; }
    TBlobType BlobType() const { return GetBlobType(); }
    void SetBlobType(TBlobType Value) { SetBlobTypeValue(Value); }
    // Length of the value in bytes.
    int32_t BlobSize() { return GetBlobSize(); }

    virtual void LoadFromStream(TStream& Stream);
    virtual void SaveToStream(TStream& Stream);
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);
    void Clear() override;

    // From another BLOB field (its value) or a string list (its text).
    void Assign(TObject& Source) override;
    // To a string list (the value as lines).
    void AssignTo(TObject& Dest) override;

protected:
    // Adds BlobType and Size.
    void DefineProperties(TPropertyList& Properties) override;
    virtual TBlobType GetBlobType() const { return DataType(); }
    virtual void SetBlobTypeValue(TBlobType Value);
    virtual int32_t GetBlobSize();
    std::string GetAsString() override;
    void SetAsStringValue(const std::string& Value) override;
    bool GetIsNull() override;
    std::string GetText(bool DisplayText) override;

private:
    bool FModified = false;
    bool FTransliterate = false;
};

class ZORP_API TMemoField : public TBlobField {
public:
    static constexpr const char* StaticClassName = "TMemoField";
    explicit TMemoField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }

protected:
    std::string GetText(bool DisplayText) override;
};

class ZORP_API TGraphicField : public TBlobField {
public:
    static constexpr const char* StaticClassName = "TGraphicField";
    explicit TGraphicField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }
};

} // namespace zorp::fw
