#pragma once

#include "../base/Component.h"
#include "../base/Export.h"
#include "DBTypes.h"

#include <functional>
#include <vector>

namespace zorp::fw {

class TDataSet;
class TDataLink;
class TField;

/// Connects a data set to data links (the data-aware controls): it passes the data set's
/// events on to every link attached to it.
class ZORP_API TDataSource : public TComponent {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TDataSource";
    /// Creates an enabled data source with no data set, owned by AOwner.
    explicit TDataSource(TComponent* AOwner);
    /// Announces its removal, then detaches itself from its data set and its links.
    ~TDataSource() override;
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// The data set whose events the source passes on, or nullptr; setting it tells the links
    /// of the new state and data. A data set that is freed is forgotten.
    /// @{
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    /// @}
    /// Whether the source connects its data set: while disabled, State is dsInactive and the
    /// links are inactive. Setting it tells the links of the state.
    /// @{
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    /// @}
    /// The data set's state, or dsInactive without one (or when disabled).
    TDataSetState State() const;
    /// Puts the data set into edit mode when it is browsing.
    void Edit();

    /// Fired when the data shown changes: a field's value, the record, the data set, or which
    /// record is current. Field is the changed field for a field's change, else nullptr.
    std::function<void(TField* Field)> OnDataChange;
    /// Fired when the state may have changed: the data set's state, the data set itself, or
    /// Enabled.
    std::function<void()> OnStateChange;
    /// Fired when the record is about to be posted, before the links write their values back.
    std::function<void()> OnUpdateData;

    /// From the data set: fires the source's own events, then passes it on to the links.
    void DataEvent(TDataEvent Event, TField* Info);

    /// Bookkeeping of the links attached to this source, kept by their SetDataSource.
    /// @{
    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);
    /// @}

protected:
    /// DataSet and Enabled.
    void DefineProperties(TPropertyList& Properties) override;
    /// Forgets the data set when it is freed and tells the links the state changed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    std::vector<TDataLink*> FDataLinks;
};

} // namespace zorp::fw
