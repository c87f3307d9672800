// TField: one column of a data set's current record, with typed access to
// its value. Fields are components: default fields belong to their data
// set; persistent fields belong to whoever made them (a form, a data
// module) and are attached with SetDataSet while the data set is closed.
#pragma once

#include "../base/Alignment.h"
#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"

#include <string>

namespace zorp::fw {

class TDataSet;

class ZORP_API TField : public TComponent {
public:
    static constexpr const char* StaticClassName = "TField";
    explicit TField(TComponent* AOwner);
    ~TField() override;
    std::string ClassName() const override { return StaticClassName; }

    TDataSet* DataSet() const { return FDataSet; }
    // Attaches the field to a data set (or detaches it with nullptr). An
    // open data set refuses with EDatabaseError.
    void SetDataSet(TDataSet* Value);

    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value) { FFieldName = Value; }
    TFieldType DataType() const { return FDataType; }
    int32_t Size() const { return FSize; }
    void SetSize(int32_t Value) { FSize = Value; }
    // The column's label: DisplayLabel when set, else the field name.
    std::string DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& Value) { FDisplayLabel = Value; }
    // How the value's text is aligned where controls show it.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    // True when the value may be changed: not read-only, in an open data set.
    bool CanModify() const;
    // Position of the field's column in the data set's record; -1 unbound.
    int FieldNo() const { return FFieldNo; }

    // Value access; conversions a field cannot make raise AccessError.
    std::string AsString() { return GetAsString(); }
    void SetAsString(const std::string& Value) { SetAsStringValue(Value); }
    int64_t AsInteger() { return GetAsInteger(); }
    void SetAsInteger(int64_t Value) { SetAsIntegerValue(Value); }
    double AsFloat() { return GetAsFloat(); }
    void SetAsFloat(double Value) { SetAsFloatValue(Value); }
    TVariant Value() { return GetAsVariant(); }
    void SetValue(const TVariant& Value) { SetVarValue(Value); }
    bool IsNull() { return GetIsNull(); }
    // The text shown (DisplayText) and edited (Text) for the value.
    std::string Text() { return GetText(false); }
    std::string DisplayText() { return GetText(true); }
    void SetText(const std::string& Value) { SetTextValue(Value); }
    virtual void Clear();
    // True for the BLOB field classes.
    virtual bool IsBlob() const { return false; }
    // Whether a key press may enter this character.
    virtual bool IsValidChar(char Ch) const;

    // Copies the value of another field; other sources raise.
    virtual void Assign(TObject& Source);
    virtual void AssignTo(TObject& Dest);

    // Raises EDatabaseError "Cannot access field 'X' as type T".
    [[noreturn]] void AccessError(const std::string& TypeName) const;

    // Used by the data set when it binds its fields at open.
    void Bind(int FieldNo) { FFieldNo = FieldNo; }

    // Form files keep a persistent field inside its data set's block.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    // DisplayLabel, FieldName and ReadOnly.
    void DefineProperties(TPropertyList& Properties) override;
    void SetDataType(TFieldType Value) { FDataType = Value; }
    // The raw value of the column in the current record.
    TVariant GetData() const;
    void SetData(const TVariant& Value);

    virtual std::string GetAsString();
    virtual void SetAsStringValue(const std::string& Value);
    virtual int64_t GetAsInteger();
    virtual void SetAsIntegerValue(int64_t Value);
    virtual double GetAsFloat();
    virtual void SetAsFloatValue(double Value);
    virtual TVariant GetAsVariant();
    virtual void SetVarValue(const TVariant& Value);
    virtual bool GetIsNull();
    virtual std::string GetText(bool DisplayText);
    virtual void SetTextValue(const std::string& Value);

private:
    TDataSet* FDataSet = nullptr;
    std::string FFieldName;
    std::string FDisplayLabel;
    TFieldType FDataType = ftUnknown;
    TAlignment FAlignment = taLeftJustify;
    int32_t FSize = 0;
    bool FReadOnly = false;
    int FFieldNo = -1;
};

class ZORP_API TStringField : public TField {
public:
    static constexpr const char* StaticClassName = "TStringField";
    explicit TStringField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }

protected:
    // Adds Size.
    void DefineProperties(TPropertyList& Properties) override;
    void SetAsStringValue(const std::string& Value) override;
    int64_t GetAsInteger() override;
    double GetAsFloat() override;
};

class ZORP_API TIntegerField : public TField {
public:
    static constexpr const char* StaticClassName = "TIntegerField";
    explicit TIntegerField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }
    bool IsValidChar(char Ch) const override;

protected:
    int64_t GetAsInteger() override;
    void SetAsStringValue(const std::string& Value) override;
};

class ZORP_API TFloatField : public TField {
public:
    static constexpr const char* StaticClassName = "TFloatField";
    explicit TFloatField(TComponent* AOwner);
    std::string ClassName() const override { return StaticClassName; }
    bool IsValidChar(char Ch) const override;

protected:
    double GetAsFloat() override;
    void SetAsStringValue(const std::string& Value) override;
};

} // namespace zorp::fw
