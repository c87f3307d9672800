// Fields: TField and the string, integer and float field classes.
#pragma once

#include "../base/Alignment.h"
#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"

#include <string>

namespace zorp::fw {

class TDataSet;

/// One column of a data set's current record, with typed access to its value. Fields are
/// components: default fields belong to their data set; persistent fields belong to whoever
/// made them (a form, a data module) and are attached with SetDataSet while the data set is
/// closed.
class ZORP_API TField : public TComponent {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TField";
    /// Creates an unattached field of type ftUnknown, owned by AOwner.
    explicit TField(TComponent* AOwner);
    /// Detaches the field from its data set.
    ~TField() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The data set the field is attached to, or nullptr. Setting it attaches the field to a
    /// data set (or detaches it with nullptr) and unbinds it; an open data set refuses with
    /// EDatabaseError.
    /// @{
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    /// @}

    /// The name of the column the field reads; the data set binds the field to the column of
    /// that name (ignoring case) when it opens.
    /// @{
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value) { FFieldName = Value; }
    /// @}
    /// The type of the field's value, set by the field class.
    TFieldType DataType() const { return FDataType; }
    /// The size of the value: the most characters a string field keeps. A field left at 0
    /// takes the column's size when the data set opens.
    /// @{
    int32_t Size() const { return FSize; }
    void SetSize(int32_t Value) { FSize = Value; }
    /// @}
    /// The column's label: DisplayLabel when set, else the field name.
    /// @{
    std::string DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const std::string& Value) { FDisplayLabel = Value; }
    /// @}
    /// How the value's text is aligned where controls show it.
    /// @{
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    /// @}
    /// Whether the field refuses changes: CanModify is then false and the data set raises
    /// EDatabaseError when the value is written.
    /// @{
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    /// @}
    /// True when the value may be changed: the field is not read-only and its data set can be
    /// modified (it is open and not read-only).
    bool CanModify() const;
    /// Position of the field's column in the data set's record; -1 unbound.
    int FieldNo() const { return FFieldNo; }

    /// The value as text; setting it stores text, which number fields parse and string fields
    /// cut to Size.
    /// @{
    std::string AsString() { return GetAsString(); }
    void SetAsString(const std::string& Value) { SetAsStringValue(Value); }
    /// @}
    /// The value as an integer, null reading as 0; a value the field cannot convert raises
    /// through AccessError. Setting it stores the integer.
    /// @{
    int64_t AsInteger() { return GetAsInteger(); }
    void SetAsInteger(int64_t Value) { SetAsIntegerValue(Value); }
    /// @}
    /// The value as a floating-point number, null reading as 0; a value the field cannot
    /// convert raises through AccessError. Setting it stores the number.
    /// @{
    double AsFloat() { return GetAsFloat(); }
    void SetAsFloat(double Value) { SetAsFloatValue(Value); }
    /// @}
    /// The value as the record holds it: null, an integer, a float or bytes.
    /// @{
    TVariant Value() { return GetAsVariant(); }
    void SetValue(const TVariant& Value) { SetVarValue(Value); }
    /// @}
    /// True when the value is null (for a BLOB field: empty).
    bool IsNull() { return GetIsNull(); }
    /// The text shown (DisplayText) and edited (Text, SetText) for the value.
    /// @{
    std::string Text() { return GetText(false); }
    std::string DisplayText() { return GetText(true); }
    void SetText(const std::string& Value) { SetTextValue(Value); }
    /// @}
    /// Sets the value to null.
    virtual void Clear();
    /// True for the BLOB field classes.
    virtual bool IsBlob() const { return false; }
    /// Whether a key press may enter this character; the base refuses only the NUL character.
    virtual bool IsValidChar(char Ch) const;

    /// Copies the value of another field; other sources raise.
    virtual void Assign(TObject& Source);
    /// Copies the value into Dest; the base knows no destination and raises EDatabaseError.
    virtual void AssignTo(TObject& Dest);

    /// Raises EDatabaseError "Cannot access field 'X' as type T".
    [[noreturn]] void AccessError(const std::string& TypeName) const;

    /// Sets FieldNo; used by the data set when it binds its fields at open (and with -1 at
    /// close).
    void Bind(int FieldNo) { FFieldNo = FieldNo; }

    /// Form files keep a persistent field inside its data set's block: the field has a parent,
    /// its data set, and a data set given as the parent while a form file is read attaches
    /// the field to it.
    /// @{
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    /// @}

protected:
    /// DisplayLabel, FieldName and ReadOnly.
    void DefineProperties(TPropertyList& Properties) override;
    /// Sets the field's type; the field classes call it from their constructors.
    void SetDataType(TFieldType Value) { FDataType = Value; }
    /// The raw value of the column in the current record; setting it needs edit or insert.
    /// Both raise EDatabaseError when the field has no data set.
    /// @{
    TVariant GetData() const;
    void SetData(const TVariant& Value);
    /// @}

    /// Implements AsString: the raw value as text.
    virtual std::string GetAsString();
    /// Implements SetAsString: stores the text as it is.
    virtual void SetAsStringValue(const std::string& Value);
    /// Implements AsInteger: an integer value as it is and null as 0; other values raise
    /// through AccessError.
    virtual int64_t GetAsInteger();
    /// Implements SetAsInteger: stores the integer.
    virtual void SetAsIntegerValue(int64_t Value);
    /// Implements AsFloat: a float or integer value as a float and null as 0; other values
    /// raise through AccessError.
    virtual double GetAsFloat();
    /// Implements SetAsFloat: stores the number.
    virtual void SetAsFloatValue(double Value);
    /// Implements Value: returns the raw value.
    virtual TVariant GetAsVariant();
    /// Implements SetValue: stores the value as it is.
    virtual void SetVarValue(const TVariant& Value);
    /// Implements IsNull: true when the raw value is null.
    virtual bool GetIsNull();
    /// Implements Text and (with DisplayText true) DisplayText: the base gives AsString for both.
    virtual std::string GetText(bool DisplayText);
    /// Implements SetText: stores the text through SetAsString.
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

/// A field holding text of at most Size characters.
class ZORP_API TStringField : public TField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TStringField";
    /// Creates an unattached field of type ftString and size 20, owned by AOwner.
    explicit TStringField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

protected:
    /// Adds Size.
    void DefineProperties(TPropertyList& Properties) override;
    /// Stores the text cut to Size characters (when Size is above 0).
    void SetAsStringValue(const std::string& Value) override;
    /// Reads the whole text as an integer; text that is not one raises through AccessError.
    int64_t GetAsInteger() override;
    /// Reads the whole text as a number; empty text or text that is not one raises through
    /// AccessError.
    double GetAsFloat() override;
};

/// A field holding an integer.
class ZORP_API TIntegerField : public TField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TIntegerField";
    /// Creates an unattached field of type ftInteger, owned by AOwner.
    explicit TIntegerField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
    /// Accepts digits and the signs '+' and '-'.
    bool IsValidChar(char Ch) const override;

protected:
    /// Rounds a float value to the nearest integer; other values as the base field reads them.
    int64_t GetAsInteger() override;
    /// Parses the text as an integer and stores it; empty text clears the value, text that is
    /// not an integer raises EDatabaseError.
    void SetAsStringValue(const std::string& Value) override;
};

/// A field holding a floating-point number.
class ZORP_API TFloatField : public TField {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TFloatField";
    /// Creates an unattached field of type ftFloat, owned by AOwner.
    explicit TFloatField(TComponent* AOwner);
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }
    /// Accepts digits, the signs '+' and '-', the point and the exponent letters 'e' and 'E'.
    bool IsValidChar(char Ch) const override;

protected:
    /// Reads the value as the base field does: a float, an integer converted, or 0 for null.
    double GetAsFloat() override;
    /// Parses the text as a number and stores it; empty text clears the value, text that is
    /// not a number raises EDatabaseError.
    void SetAsStringValue(const std::string& Value) override;
};

} // namespace zorp::fw
