#include "framework/db/DataSource.h"

#include "framework/db/DataLink.h"
#include "framework/db/DataSet.h"

#include <algorithm>

namespace zorp::fw {

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
    NotifyRemoval(); // a control bound through a link lets go of its field first
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(FDataLinks))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
    if (Value == FDataSet)
        return;
    if (FDataSet != nullptr) {
        FDataSet->RemoveDataSource(this);
        RemoveFreeNotification(FDataSet);
    }
    FDataSet = Value;
    if (FDataSet != nullptr) {
        FDataSet->AddDataSource(this);
        FreeNotification(FDataSet);
    }
    DataEvent(deUpdateState, nullptr);
    DataEvent(deDataSetChange, nullptr);
}

void TDataSource::SetEnabled(bool Value) {
    FEnabled = Value;
    DataEvent(deUpdateState, nullptr);
}

TDataSetState TDataSource::State() const {
    return FDataSet != nullptr && FEnabled ? FDataSet->State() : dsInactive;
}

void TDataSource::Edit() {
    if (State() == dsBrowse)
        FDataSet->Edit();
}

void TDataSource::DefineProperties(TPropertyList& Properties) {
    TComponent::DefineProperties(Properties);
    Properties.AddComponent<TDataSet>(
        "DataSet", [this] { return FDataSet; }, [this](TDataSet* Value) { SetDataSet(Value); });
    Properties.AddBoolean(
        "Enabled", [this] { return FEnabled; }, [this](bool Value) { SetEnabled(Value); }, true);
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDataSet) {
        FDataSet = nullptr; // it is being freed: only forget it
        DataEvent(deUpdateState, nullptr);
    }
}

void TDataSource::DataEvent(TDataEvent Event, TField* Info) {
    if (Event == deUpdateState && OnStateChange)
        OnStateChange();
    if ((Event == deFieldChange || Event == deRecordChange || Event == deDataSetChange ||
         Event == deDataSetScroll) &&
        OnDataChange)
        OnDataChange(Info);
    if (Event == deUpdateRecord && OnUpdateData)
        OnUpdateData();
    for (TDataLink* link : std::vector<TDataLink*>(FDataLinks))
        if (std::find(FDataLinks.begin(), FDataLinks.end(), link) != FDataLinks.end())
            link->DataEvent(Event, Info);
}

void TDataSource::AddDataLink(TDataLink* Link) {
    FDataLinks.push_back(Link);
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
    std::erase(FDataLinks, Link);
}

} // namespace zorp::fw
