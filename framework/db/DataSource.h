// TDataSource connects a data set to data links (the data-aware controls):
// it passes the data set's events on to every link attached to it.
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

class ZORP_API TDataSource : public TComponent {
public:
    static constexpr const char* StaticClassName = "TDataSource";
    explicit TDataSource(TComponent* AOwner);
    ~TDataSource() override;
    std::string ClassName() const override { return StaticClassName; }

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // The data set's state, or dsInactive without one (or when disabled).
    TDataSetState State() const;
    // Puts the data set into edit mode when it is browsing.
    void Edit();

    std::function<void(TField* Field)> OnDataChange;
    std::function<void()> OnStateChange;
    std::function<void()> OnUpdateData;

    // From the data set: passed on to the links.
    void DataEvent(TDataEvent Event, TField* Info);

    void AddDataLink(TDataLink* Link);
    void RemoveDataLink(TDataLink* Link);

protected:
    // DataSet and Enabled.
    void DefineProperties(TPropertyList& Properties) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    std::vector<TDataLink*> FDataLinks;
};

} // namespace zorp::fw
