// Data links: how a data-aware control follows a data source (TDataLink, TFieldDataLink).
#pragma once

#include "../base/Export.h"
#include "DBTypes.h"

#include <functional>
#include <string>

namespace zorp::fw {

class TBasicAction;
class TComponent;
class TDataSet;
class TDataSource;
class TField;

/// How a data-aware control follows a data source: the link turns the data set's events into
/// calls of its virtual operations, which subclasses override.
class ZORP_API TDataLink {
public:
    /// Creates a link with no data source.
    TDataLink() = default;
    /// Detaches the link from its data source.
    virtual ~TDataLink();
    /// Links are not copied.
    /// @{
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    /// @}

    /// The data source the link follows, or nullptr; setting it moves the link to the new
    /// source and updates Active and Editing.
    /// @{
    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);
    /// @}
    /// Set by a container that supplies the data source to the controls it
    /// holds (a grid of controls): the controls then leave the data source
    /// alone while they are read from a form file.
    /// @{
    bool DataSourceFixed() const { return FDataSourceFixed; }
    void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
    /// @}
    /// The data source's data set, or nullptr.
    TDataSet* DataSet() const;
    /// True while the data source is enabled and its data set open.
    bool Active() const { return FActive; }
    /// True while the data set is in edit or insert and the link is not read-only.
    bool Editing() const { return FEditing; }
    /// Whether the link refuses to edit: Edit then leaves the data set alone and Editing stays
    /// false. Setting it updates Editing.
    /// @{
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    /// @}
    /// Puts the data set into edit mode when the link may; true when editing.
    virtual bool Edit();
    /// Asks the control to write its value back (UpdateData) now.
    void UpdateRecord();
    /// True while UpdateRecord runs; changes of the record are not passed to RecordChanged
    /// meanwhile.
    bool Updating() const { return FUpdating; }

    /// An action that handles the link's data source as its target runs on
    /// it (ExecuteTarget / UpdateTarget); true then.
    /// @{
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    /// @}

    /// Takes an event from the data source and calls the matching operation below; while the
    /// link is not active, only state changes get through.
    void DataEvent(TDataEvent Event, TField* Info);

protected:
    /// Called when Active changes; does nothing here.
    virtual void ActiveChanged() {}
    /// Called before the data set leaves edit or insert; does nothing here.
    virtual void CheckBrowseMode() {}
    /// Called when the data set changed (opened, posted, cancelled, deleted); calls
    /// RecordChanged(nullptr) here.
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    /// Called when the current record moved; calls DataSetChanged here.
    virtual void DataSetScrolled() { DataSetChanged(); }
    /// Called when Editing changes; does nothing here.
    virtual void EditingChanged() {}
    /// Called when the data set's fields changed; calls DataSetChanged here.
    virtual void LayoutChanged() { DataSetChanged(); }
    /// Called when the values of the record changed, with the field when only one field
    /// changed and nullptr otherwise; does nothing here.
    virtual void RecordChanged(TField*) {}
    /// Called by UpdateRecord for the control to write its value into the record; does
    /// nothing here.
    virtual void UpdateData() {}

private:
    void UpdateState();

    TDataSource* FDataSource = nullptr;
    bool FDataSourceFixed = false;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
};

/// A data link that follows one field of the data set, by name, and reports to its control
/// through events.
class ZORP_API TFieldDataLink : public TDataLink {
public:
    /// Creates a link with no data source and no field.
    TFieldDataLink() = default;

    /// The name of the field the link follows; setting it looks the field up again.
    /// @{
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value);
    /// @}
    /// The field followed: the data set's field of that name while the link is active, else
    /// nullptr.
    TField* Field() const { return FField; }
    /// The component the link serves, kept for whoever asks; the link itself does not use it.
    /// @{
    TComponent* Control() const { return FControl; }
    void SetControl(TComponent* Value) { FControl = Value; }
    /// @}
    /// Not read-only, with a field that can be modified.
    bool CanModify() const;
    /// Puts the data set into edit mode only when CanModify; true when editing.
    bool Edit() override;
    /// The control changed the value: UpdateData will write it back.
    void Modified() { FModified = true; }
    /// True when the control changed the value since it was last shown.
    bool IsModified() const { return FModified; }
    /// Throws away the control's change: the value is shown again.
    void Reset();

    /// Fired when the link becomes active or inactive, after the field was looked up again.
    std::function<void()> OnActiveChange;
    /// Fired when the control should show the value again: the record or the field's value
    /// changed, the field was looked up anew, or Reset was called.
    std::function<void()> OnDataChange;
    /// Fired when Editing changes or another field is followed; the control's change is
    /// forgotten first.
    std::function<void()> OnEditingChange;
    /// Fired when the control should write its changed value into the field: the record is
    /// about to be posted, or UpdateRecord was called.
    std::function<void()> OnUpdateData;

protected:
    /// Looks the field up again and fires OnActiveChange.
    void ActiveChanged() override;
    /// Forgets the control's change and fires OnEditingChange.
    void EditingChanged() override;
    /// Looks the field up again.
    void LayoutChanged() override;
    /// For a change of the whole record or of the followed field: fires OnDataChange and
    /// forgets the control's change.
    void RecordChanged(TField* Field) override;
    /// Fires OnUpdateData when the control changed the value and there is a field, then
    /// forgets the change.
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* Value);

    std::string FFieldName;
    TField* FField = nullptr;
    TComponent* FControl = nullptr;
    bool FModified = false;
};

} // namespace zorp::fw
