#include "framework/db/DataLink.h"

#include "framework/base/BasicAction.h"
#include "framework/db/DataSet.h"
#include "framework/db/DataSource.h"
#include "framework/db/Field.h"

namespace zorp::fw {

TDataLink::~TDataLink() {
    if (FDataSource != nullptr)
        FDataSource->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* Value) {
    if (Value == FDataSource)
        return;
    if (FDataSource != nullptr)
        FDataSource->RemoveDataLink(this);
    FDataSource = Value;
    if (FDataSource != nullptr)
        FDataSource->AddDataLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return FDataSource != nullptr ? FDataSource->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool Value) {
    if (FReadOnly == Value)
        return;
    FReadOnly = Value;
    UpdateState();
}

bool TDataLink::Edit() {
    if (!FReadOnly && FDataSource != nullptr)
        FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord() {
    FUpdating = true;
    try {
        UpdateData();
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
}

bool TDataLink::ExecuteAction(TBasicAction* Action) {
    if (Action == nullptr || !Action->HandlesTarget(FDataSource))
        return false;
    Action->ExecuteTarget(FDataSource);
    return true;
}

bool TDataLink::UpdateAction(TBasicAction* Action) {
    if (Action == nullptr || !Action->HandlesTarget(FDataSource))
        return false;
    Action->UpdateTarget(FDataSource);
    return true;
}

void TDataLink::UpdateState() {
    const TDataSetState state = FDataSource != nullptr ? FDataSource->State() : dsInactive;
    const bool active = state != dsInactive;
    if (active != FActive) {
        FActive = active;
        ActiveChanged();
    }
    const bool editing = (state == dsEdit || state == dsInsert) && !FReadOnly;
    if (editing != FEditing) {
        FEditing = editing;
        EditingChanged();
    }
}

void TDataLink::DataEvent(TDataEvent Event, TField* Info) {
    switch (Event) {
    case deUpdateState:
        UpdateState();
        break;
    case deFieldChange:
    case deRecordChange:
        if (FActive && !FUpdating)
            RecordChanged(Info);
        break;
    case deDataSetChange:
        if (FActive)
            DataSetChanged();
        break;
    case deDataSetScroll:
        if (FActive)
            DataSetScrolled();
        break;
    case deLayoutChange:
        if (FActive)
            LayoutChanged();
        break;
    case deUpdateRecord:
        if (FActive)
            UpdateRecord();
        break;
    case deCheckBrowseMode:
        if (FActive)
            CheckBrowseMode();
        break;
    }
}

void TFieldDataLink::SetFieldName(const std::string& Value) {
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && FField != nullptr && FField->CanModify();
}

bool TFieldDataLink::Edit() {
    if (CanModify())
        TDataLink::Edit();
    return Editing();
}

void TFieldDataLink::Reset() {
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateField() {
    TDataSet* dataSet = DataSet();
    SetField(Active() && dataSet != nullptr && !FFieldName.empty() ? dataSet->FindField(FFieldName)
                                                                   : nullptr);
}

void TFieldDataLink::SetField(TField* Value) {
    if (Value == FField)
        return;
    FField = Value;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLink::EditingChanged() {
    FModified = false;
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* Field) {
    if (Field == nullptr || Field == FField) {
        if (OnDataChange)
            OnDataChange();
        FModified = false;
    }
}

void TFieldDataLink::UpdateData() {
    if (FModified) {
        if (FField != nullptr && OnUpdateData)
            OnUpdateData();
        FModified = false;
    }
}

} // namespace zorp::fw
