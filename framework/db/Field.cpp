#include "framework/db/Field.h"

#include "framework/db/DataSet.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zorp::fw {

TField::TField(TComponent* AOwner) : TComponent(AOwner) {}

TField::~TField() {
    if (FDataSet != nullptr)
        FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* Value) {
    if (Value == FDataSet)
        return;
    if ((FDataSet != nullptr && FDataSet->Active()) || (Value != nullptr && Value->Active()))
        throw EDatabaseError("Cannot perform this operation on an open dataset");
    if (Value != nullptr)
        Value->AddField(this);
    if (FDataSet != nullptr)
        FDataSet->RemoveField(this);
    FDataSet = Value;
    FFieldNo = -1;
}

TComponent* TField::GetParentComponent() const {
    return FDataSet;
}

void TField::SetParentComponent(TComponent* Value) {
    if (auto* dataSet = dynamic_cast<TDataSet*>(Value))
        SetDataSet(dataSet);
}

void TField::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    Properties.AddString(
        "DisplayLabel", [this] { return FDisplayLabel; },
        [this](const std::string& Value) { FDisplayLabel = Value; });
    Properties.AddString(
        "FieldName", [this] { return FFieldName; },
        [this](const std::string& Value) { SetFieldName(Value); });
    Properties.AddBoolean(
        "ReadOnly", [this] { return FReadOnly; }, [this](bool Value) { SetReadOnly(Value); },
        false);
}

bool TField::CanModify() const {
    return !FReadOnly && FDataSet != nullptr && FDataSet->CanModify();
}

TVariant TField::GetData() const {
    if (FDataSet == nullptr)
        throw EDatabaseError("Field '" + FFieldName + "' has no dataset");
    return FDataSet->GetFieldData(FFieldNo);
}

void TField::SetData(const TVariant& Value) {
    if (FDataSet == nullptr)
        throw EDatabaseError("Field '" + FFieldName + "' has no dataset");
    FDataSet->SetFieldData(*this, Value);
}

void TField::AccessError(const std::string& TypeName) const {
    throw EDatabaseError("Cannot access field '" + FFieldName + "' as type " + TypeName);
}

std::string TField::GetAsString() {
    return VarToStr(GetData());
}

void TField::SetAsStringValue(const std::string& Value) {
    SetData(Value);
}

int64_t TField::GetAsInteger() {
    const TVariant v = GetData();
    if (const auto* i = std::get_if<int64_t>(&v))
        return *i;
    if (VarIsNull(v))
        return 0;
    AccessError("Integer");
}

void TField::SetAsIntegerValue(int64_t Value) {
    SetData(Value);
}

double TField::GetAsFloat() {
    const TVariant v = GetData();
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* i = std::get_if<int64_t>(&v))
        return static_cast<double>(*i);
    if (VarIsNull(v))
        return 0;
    AccessError("Float");
}

void TField::SetAsFloatValue(double Value) {
    SetData(Value);
}

TVariant TField::GetAsVariant() {
    return GetData();
}

void TField::SetVarValue(const TVariant& Value) {
    SetData(Value);
}

bool TField::GetIsNull() {
    return VarIsNull(GetData());
}

std::string TField::GetText(bool) {
    return GetAsString();
}

void TField::SetTextValue(const std::string& Value) {
    SetAsStringValue(Value);
}

void TField::Clear() {
    SetData(TVariant{});
}

bool TField::IsValidChar(char Ch) const {
    return Ch != '\0';
}

void TField::Assign(TObject& Source) {
    if (auto* other = dynamic_cast<TField*>(&Source)) {
        SetValue(other->Value());
        return;
    }
    throw EDatabaseError("Cannot assign a " + Source.ClassName() + " to a " + ClassName());
}

void TField::AssignTo(TObject& Dest) {
    throw EDatabaseError("Cannot assign a " + ClassName() + " to a " + Dest.ClassName());
}

void TStringField::DefineProperties(TPropertyList& Properties) {
    TField::DefineProperties(Properties);
    Properties.AddInteger(
        "Size", [this] { return Size(); },
        [this](int64_t Value) { SetSize(static_cast<int32_t>(Value)); }, 20);
}

TStringField::TStringField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftString);
    SetSize(20);
}

void TStringField::SetAsStringValue(const std::string& Value) {
    // A string column keeps at most Size characters.
    SetData(Size() > 0 && static_cast<int32_t>(Value.size()) > Size()
                ? Value.substr(0, static_cast<size_t>(Size()))
                : Value);
}

int64_t TStringField::GetAsInteger() {
    const std::string s = GetAsString();
    int64_t value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size())
        AccessError("Integer");
    return value;
}

double TStringField::GetAsFloat() {
    const std::string s = GetAsString();
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (s.empty() || end != s.c_str() + s.size())
        AccessError("Float");
    return value;
}

TIntegerField::TIntegerField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftInteger);
}

bool TIntegerField::IsValidChar(char Ch) const {
    return std::isdigit(static_cast<unsigned char>(Ch)) || Ch == '-' || Ch == '+';
}

int64_t TIntegerField::GetAsInteger() {
    const TVariant v = GetData();
    if (const auto* d = std::get_if<double>(&v))
        return static_cast<int64_t>(std::llround(*d));
    return TField::GetAsInteger();
}

void TIntegerField::SetAsStringValue(const std::string& Value) {
    if (Value.empty()) {
        Clear();
        return;
    }
    int64_t v = 0;
    const auto [end, error] = std::from_chars(Value.data(), Value.data() + Value.size(), v);
    if (error != std::errc() || end != Value.data() + Value.size())
        throw EDatabaseError("'" + Value + "' is not a valid integer value");
    SetData(v);
}

TFloatField::TFloatField(TComponent* AOwner) : TField(AOwner) {
    SetDataType(ftFloat);
}

bool TFloatField::IsValidChar(char Ch) const {
    return std::isdigit(static_cast<unsigned char>(Ch)) || Ch == '-' || Ch == '+' || Ch == '.' ||
           Ch == 'e' || Ch == 'E';
}

double TFloatField::GetAsFloat() {
    return TField::GetAsFloat();
}

void TFloatField::SetAsStringValue(const std::string& Value) {
    if (Value.empty()) {
        Clear();
        return;
    }
    char* end = nullptr;
    const double v = std::strtod(Value.c_str(), &end);
    if (end != Value.c_str() + Value.size())
        throw EDatabaseError("'" + Value + "' is not a valid floating point value");
    SetData(v);
}

} // namespace zorp::fw
