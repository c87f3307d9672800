#include "framework/db/DataSet.h"

#include "framework/base/TextUtils.h"
#include "framework/db/BlobField.h"
#include "framework/db/BlobStream.h"
#include "framework/db/DataSource.h"
#include "framework/db/Field.h"

#include <algorithm>

namespace zorp::fw {

void TFieldDefs::Update() {
    FItems.clear();
    FOwner.InternalInitFieldDefs();
}

int TFieldDefs::IndexOf(const std::string& Name) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (SameText(FItems[i].Name, Name))
            return static_cast<int>(i);
    return -1;
}

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFieldDefs(*this) {}

TDataSet::~TDataSet() {
    // Subclasses close themselves; here only the links are cut.
    for (TField* field : std::vector<TField*>(FFields))
        field->SetDataSet(nullptr);
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->SetDataSet(nullptr);
}

void TDataSet::CheckActive() const {
    if (!Active())
        throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
    if (Active())
        throw EDatabaseError("Cannot perform this operation on an open dataset");
}

void TDataSet::CheckEditing() const {
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError("Dataset not in edit or insert mode");
}

void TDataSet::SetState(TDataSetState Value) {
    if (FState == Value)
        return;
    FState = Value;
    DataEvent(deUpdateState, nullptr);
}

void TDataSet::SetActive(bool Value) {
    if (ComponentState() & csReading)
        FStreamedActive = Value;
    else if (Value)
        Open();
    else
        Close();
}

void TDataSet::Loaded() {
    TComponent::Loaded();
    if (FStreamedActive) {
        FStreamedActive = false;
        Open();
    }
}

void TDataSet::Open() {
    if (Active())
        return;
    FFieldDefs.Update();
    InternalOpen();
    try {
        if (FFields.empty())
            CreateDefaultFields();
        BindFields();
    } catch (...) {
        DestroyDefaultFields();
        InternalClose();
        throw;
    }
    FRecords = InternalRecordCount();
    FCurrent = 0;
    FModified = false;
    LoadCurrent();
    FBof = true;
    FEof = FRecords == 0;
    SetState(dsBrowse);
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::Close() {
    if (!Active())
        return;
    SetState(dsInactive);
    DataEvent(deDataSetChange, nullptr);
    FBuffer.clear();
    FChanged.clear();
    DestroyDefaultFields();
    for (TField* field : FFields)
        field->Bind(-1);
    InternalClose();
}

void TDataSet::CreateDefaultFields() {
    for (int i = 0; i < FFieldDefs.Count(); ++i) {
        const TFieldDef& def = FFieldDefs.Items(i);
        std::unique_ptr<TField> field;
        switch (def.DataType) {
        case ftInteger:
            field = std::make_unique<TIntegerField>(this);
            break;
        case ftFloat:
            field = std::make_unique<TFloatField>(this);
            break;
        case ftMemo:
        case ftFmtMemo:
            field = std::make_unique<TMemoField>(this);
            break;
        case ftGraphic:
            field = std::make_unique<TGraphicField>(this);
            break;
        case ftBlob:
            field = std::make_unique<TBlobField>(this);
            break;
        default:
            field = std::make_unique<TStringField>(this);
            break;
        }
        field->SetFieldName(def.Name);
        field->SetSize(def.Size);
        field->SetDataSet(this);
        FDefaultFields.push_back(field.release()); // owned by this data set
    }
}

void TDataSet::DestroyDefaultFields() {
    for (TField* field : FDefaultFields)
        delete field; // detaches itself
    FDefaultFields.clear();
}

void TDataSet::BindFields() {
    for (TField* field : FFields) {
        const int index = FFieldDefs.IndexOf(field->FieldName());
        if (index < 0)
            throw EDatabaseError("Field '" + field->FieldName() + "' not found");
        field->Bind(index);
        if (field->Size() == 0)
            field->SetSize(FFieldDefs.Items(index).Size);
    }
}

void TDataSet::LoadCurrent() {
    FBuffer.assign(static_cast<size_t>(FFieldDefs.Count()), std::nullopt);
    FChanged.assign(FBuffer.size(), false);
    if (FRecords > 0)
        InternalLoadRecord(FCurrent, FBuffer);
    for (TField* field : FFields)
        if (auto* blob = dynamic_cast<TBlobField*>(field))
            blob->SetModified(false);
}

int TDataSet::RecordCount() {
    CheckActive();
    return FRecords;
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    if (FState == dsEdit || FState == dsInsert) {
        DataEvent(deCheckBrowseMode, nullptr);
        if (FModified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::MoveTo(int Index) {
    CheckBrowseMode();
    const int target = std::clamp(Index, 0, std::max(FRecords - 1, 0));
    FBof = Index < 0 || FRecords == 0;
    FEof = Index >= FRecords || FRecords == 0;
    if (target != FCurrent || FRecords == 0) {
        FCurrent = target;
        LoadCurrent();
    }
    DataEvent(deDataSetScroll, nullptr);
}

void TDataSet::First() {
    MoveTo(0);
    FBof = true;
}

void TDataSet::Last() {
    MoveTo(FRecords - 1);
    FEof = true;
}

void TDataSet::Next() {
    if (FEof) {
        CheckBrowseMode();
        return;
    }
    MoveTo(FCurrent + 1);
}

void TDataSet::Prior() {
    if (FBof) {
        CheckBrowseMode();
        return;
    }
    MoveTo(FCurrent - 1);
}

void TDataSet::Edit() {
    CheckActive();
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (!CanModify())
        throw EDatabaseError("Cannot modify a read-only dataset");
    if (FRecords == 0) {
        Insert();
        return;
    }
    FModified = false;
    SetState(dsEdit);
    DataEvent(deRecordChange, nullptr);
}

void TDataSet::Insert() {
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError("Cannot modify a read-only dataset");
    FBuffer.assign(static_cast<size_t>(FFieldDefs.Count()), TVariant{});
    FChanged.assign(FBuffer.size(), false);
    FModified = false;
    SetState(dsInsert);
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::Append() {
    Insert();
}

void TDataSet::Post() {
    CheckEditing();
    DataEvent(deUpdateRecord, nullptr); // controls write their values back
    const bool inserting = FState == dsInsert;
    // Columns not yet fetched keep their stored value.
    FCurrent = InternalPost(inserting, FCurrent, FBuffer, FChanged);
    FRecords = InternalRecordCount();
    FModified = false;
    SetState(dsBrowse);
    LoadCurrent();
    FBof = FEof = false;
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::Cancel() {
    CheckActive();
    if (FState != dsEdit && FState != dsInsert)
        return;
    FModified = false;
    SetState(dsBrowse);
    LoadCurrent();
    DataEvent(deDataSetChange, nullptr);
}

void TDataSet::Delete() {
    CheckActive();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRecords == 0)
        throw EDatabaseError("Cannot perform this operation on an empty dataset");
    CheckBrowseMode();
    InternalDelete(FCurrent);
    FRecords = InternalRecordCount();
    FCurrent = std::min(FCurrent, std::max(FRecords - 1, 0));
    FEof = FRecords == 0;
    FBof = FRecords == 0;
    LoadCurrent();
    DataEvent(deDataSetChange, nullptr);
}

TField* TDataSet::FindField(const std::string& FieldName) const {
    for (TField* field : FFields)
        if (SameText(field->FieldName(), FieldName))
            return field;
    return nullptr;
}

TField& TDataSet::FieldByName(const std::string& FieldName) const {
    TField* field = FindField(FieldName);
    if (field == nullptr)
        throw EDatabaseError("Field '" + FieldName + "' not found");
    return *field;
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField& Field, TBlobStreamMode Mode) {
    return std::make_unique<TBlobStream>(Field, Mode);
}

TVariant TDataSet::GetFieldData(int FieldNo) {
    CheckActive();
    if (FieldNo < 0 || FieldNo >= static_cast<int>(FBuffer.size()))
        throw EDatabaseError("Field is not bound to this dataset");
    auto& slot = FBuffer[static_cast<size_t>(FieldNo)];
    if (!slot)
        slot =
            FRecords > 0 && FState != dsInsert ? InternalFetchBlob(FCurrent, FieldNo) : TVariant{};
    return *slot;
}

void TDataSet::SetFieldData(TField& Field, const TVariant& Value) {
    CheckEditing();
    if (Field.ReadOnly())
        throw EDatabaseError("Field '" + Field.FieldName() + "' cannot be modified");
    const int index = Field.FieldNo();
    if (index < 0 || index >= static_cast<int>(FBuffer.size()))
        throw EDatabaseError("Field is not bound to this dataset");
    FBuffer[static_cast<size_t>(index)] = Value;
    FChanged[static_cast<size_t>(index)] = true;
    FModified = true;
    DataEvent(deFieldChange, &Field);
}

void TDataSet::DataEvent(TDataEvent Event, TField* Info) {
    for (TDataSource* source : std::vector<TDataSource*>(FDataSources))
        source->DataEvent(Event, Info);
}

void TDataSet::AddField(TField* Field) {
    CheckInactive();
    FFields.push_back(Field);
}

void TDataSet::RemoveField(TField* Field) {
    std::erase(FFields, Field);
}

void TDataSet::AddDataSource(TDataSource* Source) {
    FDataSources.push_back(Source);
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
    std::erase(FDataSources, Source);
}

} // namespace zorp::fw
