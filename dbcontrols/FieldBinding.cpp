#include "dbcontrols/FieldBinding.h"

#include "framework/base/TextUtils.h"
#include "framework/controls/Dialogs.h"
#include "framework/db/DataSet.h"

namespace zorp {

std::string FieldIdentifier(const std::string& ColumnName) {
    std::string id;
    for (size_t i = 0; i < ColumnName.size(); ++i) {
        const char c = ColumnName[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (letter || (digit && i > 0))
            id += c;
    }
    if (id.empty() || (id[0] >= '0' && id[0] <= '9'))
        id.insert(id.begin(), '_');
    return id;
}

TFieldBinding::TFieldBinding(fw::TComponent& Control, fw::TFieldDataLink& DataLink,
                             std::function<TCBlobField*(fw::TComponent*)> MakeField,
                             std::function<bool(fw::TField*)> IsOwnClass)
    : FControl(Control), FDataLink(DataLink), FMakeField(std::move(MakeField)),
      FIsOwnClass(std::move(IsOwnClass)) {}

TFieldBinding::~TFieldBinding() {
    Release();
}

fw::TField* TFieldBinding::Field() const {
    return FCompressedField != nullptr ? FCompressedField : FDataLink.Field();
}

void TFieldBinding::SetCompressSource(TZorp* Value) {
    if (FCompressSource != nullptr)
        FControl.RemoveFreeNotification(FCompressSource);
    FCompressSource = Value;
    // Asked for, so a component under another owner is noticed as well.
    if (FCompressSource != nullptr)
        FControl.FreeNotification(FCompressSource);
    if (FCompressedField != nullptr)
        FCompressedField->SetCompressSource(Value);
}

void TFieldBinding::SetCompressionMethod(TZorpMethod Value) {
    FCompressionMethod = Value;
    if (FCompressedField != nullptr)
        FCompressedField->SetCompressionMethod(Value);
}

void TFieldBinding::SetDataSource(fw::TDataSource* Value, bool SkipLink) {
    if (!SkipLink)
        FDataLink.SetDataSource(Value);
    if (Value != nullptr)
        FControl.FreeNotification(Value);
    CheckCompressedField();
}

void TFieldBinding::SetDataField(const std::string& Value) {
    FDataLink.SetFieldName(Value);
    CheckCompressedField();
}

void TFieldBinding::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
    if (Operation != fw::opRemove)
        return;
    if (AComponent == FCompressedField) {
        FCompressedField = nullptr; // freed by its owner
        return;
    }
    if (AComponent != nullptr && AComponent == FDataLink.DataSource())
        SetDataSource(nullptr);
    else if (AComponent != nullptr && AComponent == FCompressSource)
        SetCompressSource(nullptr);
}

void TFieldBinding::CheckCompressedField() {
    fw::TDataSource* source = FDataLink.DataSource();
    fw::TDataSet* dataSet = source != nullptr ? source->DataSet() : nullptr;
    const std::string& dataField = FDataLink.FieldName();
    if (dataField.empty() || dataSet == nullptr || FCompressSource == nullptr) {
        Release();
        return;
    }
    fw::TField* existing = dataSet->FindField(dataField);
    if (existing != nullptr && FIsOwnClass(existing)) {
        // Adopted as it is, with its own CompressSource and method.
        if (existing != FCompressedField)
            Release();
        FCompressedField = dynamic_cast<TCBlobField*>(existing);
        FControl.FreeNotification(FCompressedField);
        return;
    }
    if (FCompressedField == nullptr) {
        fw::TComponent* owner = FControl.Owner() != nullptr ? FControl.Owner() : &FControl;
        FCompressedField = FMakeField(owner);
        FControl.FreeNotification(FCompressedField);
    }
    FCompressedField->SetCompressSource(FCompressSource);
    FCompressedField->SetCompressionMethod(FCompressionMethod);
    if (fw::SameText(FCompressedField->FieldName(), dataField) &&
        FCompressedField->DataSet() == dataSet)
        return;
    Attach(existing);
}

void TFieldBinding::Attach(fw::TField* Existing) {
    fw::TDataSet& dataSet = *FDataLink.DataSource()->DataSet();
    const std::string dataField = FDataLink.FieldName();
    try {
        dataSet.FieldDefs().Update();
        const int index = dataSet.FieldDefs().IndexOf(dataField);
        if (index < 0) {
            fw::ShowMessage("Can't find field: " + dataField);
            SetDataField("");
            return;
        }
        if (Existing != nullptr) {
            const std::string ds = dataSet.Name();
            fw::ShowMessage("TZorp warning: " + ds + " already has a non-compressed\r" +
                            "field called '" + dataField + "'.\r\rDouble-click on " + ds +
                            ", remove the existing field, and try again.");
            SetDataField("");
            return;
        }
        FCompressedField->SetSize(dataSet.FieldDefs().Items(index).Size);
        FCompressedField->SetFieldName(dataField);
        FCompressedField->SetDataSet(&dataSet);
        FCompressedField->SetName(FControl.Name() + FieldIdentifier(dataField));
        if (OnAttached)
            OnAttached(dataSet);
    } catch (const fw::EDatabaseError&) {
        Release();
        throw;
    }
}

void TFieldBinding::Release() {
    TCBlobField* field = FCompressedField;
    FCompressedField = nullptr;
    if (field == nullptr)
        return;
    FControl.RemoveFreeNotification(field);
    fw::TDataSource* source = FDataLink.DataSource();
    fw::TDataSet* dataSet = source != nullptr ? source->DataSet() : nullptr;
    if (field->DataSet() == nullptr && (dataSet == nullptr || !field->Name().empty()))
        return; // kept: it was never attached, or it is named and persistent
    if (dataSet != nullptr &&
        dynamic_cast<TCBlobField*>(dataSet->FindField(field->FieldName())) != nullptr)
        return;   // kept: the data set holds it
    delete field; // takes it out of its data set
}

} // namespace zorp
