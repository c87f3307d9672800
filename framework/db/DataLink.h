// Data links: how a data-aware control follows a data source. TDataLink
// turns the data set's events into calls of its virtual operations;
// TFieldDataLink follows one field and reports through events.
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

class ZORP_API TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* Value);
    // Set by a container that supplies the data source to the controls it
    // holds (a grid of controls): the controls then leave the data source
    // alone while they are read from a form file.
    bool DataSourceFixed() const { return FDataSourceFixed; }
    void SetDataSourceFixed(bool Value) { FDataSourceFixed = Value; }
    // The data source's data set, or nullptr.
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // Puts the data set into edit mode when the link may; true when editing.
    virtual bool Edit();
    // Asks the control to write its value back (UpdateData) now.
    void UpdateRecord();
    bool Updating() const { return FUpdating; }

    // An action that handles the link's data source as its target runs on
    // it (ExecuteTarget / UpdateTarget); true then.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);

    // From the data source.
    void DataEvent(TDataEvent Event, TField* Info);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled() { DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField*) {}
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

class ZORP_API TFieldDataLink : public TDataLink {
public:
    TFieldDataLink() = default;

    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& Value);
    TField* Field() const { return FField; }
    TComponent* Control() const { return FControl; }
    void SetControl(TComponent* Value) { FControl = Value; }
    // Not read-only, with a field that can be modified.
    bool CanModify() const;
    bool Edit() override;
    // The control changed the value: UpdateData will write it back.
    void Modified() { FModified = true; }
    bool IsModified() const { return FModified; }
    // Throws away the control's change: the value is shown again.
    void Reset();

    std::function<void()> OnActiveChange;
    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* Field) override;
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
